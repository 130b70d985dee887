// SPDX-License-Identifier: MIT
#pragma once

#include <QWebEnginePage>

namespace platform {

// A web page that can never take the keyboard or stop the program: a lookup page is a
// third party's page, shown while a scanner types into Tarnix. Its JavaScript dialogs
// are answered at once without being shown (alert is dismissed, confirm and prompt are
// declined, a leave-page question lets the next lookup go ahead); it opens no windows,
// chooses no files, goes full screen on nobody's word, and is refused every permission
// it asks for.
class LookupPage final : public QWebEnginePage {
    Q_OBJECT
public:
    LookupPage(QWebEngineProfile* profile, QObject* parent);

protected:
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(
        const QUrl& origin, const QString& message, const QString& defaultValue, QString* result) override;
    QStringList chooseFiles(
        FileSelectionMode mode, const QStringList& oldFiles, const QStringList& acceptedMimeTypes) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    // A third party's console messages are not the program's to print.
    void javaScriptConsoleMessage(
        JavaScriptConsoleMessageLevel level, const QString& message, int line, const QString& source) override;
};

} // namespace platform
