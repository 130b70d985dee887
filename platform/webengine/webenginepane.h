// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
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
//
// Every address the pane is sent to is requested, in order: one that comes while the
// renderer is being asked, or while the page before it is loading, waits its turn. A
// load goes on to the next address when it has finished, or after kHangBound at the
// latest, by which time its request has gone out. At most kMostWaiting addresses wait.
class WebEnginePane final : public QWidget {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kHangBound{2000};
    // Addresses that may wait their turn; a newer one pushes out the oldest.
    static constexpr qsizetype kMostWaiting = 16;

    explicit WebEnginePane(QWidget* parent);
    ~WebEnginePane() override;

    void navigate(const QString& address);

private:
    void loadNext();
    void startNext();
    void endHungRenderer();

    QWebEngineProfile* profile_;
    LookupPage* page_;
    QWebEngineView* view_;
    QStringList pending_; // addresses not yet requested, oldest first
    quint64 pingsSent_ = 0;
    quint64 pingAwaited_ = 0; // the question waiting for an answer, 0 when none
    QTimer hangTimer_;
    QTimer loadTurn_; // runs while a load keeps the next address waiting
    quint64 loadsStarted_ = 0;
    quint64 loadsFinished_ = 0;
};

} // namespace platform
