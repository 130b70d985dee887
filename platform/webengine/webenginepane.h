// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>
#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;

namespace platform {

class LookupPage;

// The browser pane on the web engine. The page view is a window of its own, embedded in
// the pane: a view placed straight in the main window would make Qt remake that window
// for OpenGL, and keys typed meanwhile go nowhere. Embedded, the main window keeps its
// place and its keyboard, and a page cannot take the keyboard from it unless the user
// clicks into the page or tabs to it.
//
// Pages load in an off-the-record profile: nothing is written to disk, downloads are
// cancelled. Before each load the pane asks the page's renderer a trivial question; a
// renderer that does not answer within kHangBound is hung and is ended, and the load
// goes to a fresh one. A renderer that died is replaced by the engine on the next load.
class WebEnginePane final : public QWidget {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kHangBound{2000};

    explicit WebEnginePane(QWidget* parent);
    ~WebEnginePane() override;

    void navigate(const QString& address);

private:
    void loadPending();
    void endHungRenderer();

    QWebEngineProfile* profile_;
    LookupPage* page_;
    QWebEngineView* view_;
    QString pending_; // the address to load once the renderer has answered
    quint64 pingsSent_ = 0;
    quint64 pingAwaited_ = 0; // the question waiting for an answer, 0 when none
    QTimer hangTimer_;
};

} // namespace platform
