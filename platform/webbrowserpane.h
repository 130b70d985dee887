#pragma once

#include <QPointer>

#include "browserpane.h"

class QWebEngineView;

namespace platform {

// A browser pane that creates its web engine view only when it is first sent to a page.
// An engine created up front costs a few hundred MiB and three helper processes for as
// long as the program runs, and many users never switch web lookup on. Until then the
// pane is an empty page-coloured area that still takes its turn in the tab order.
class WebBrowserPane final : public BrowserPane {
    Q_OBJECT
public:
    explicit WebBrowserPane(QWidget* parent = nullptr);

    void navigate(const QString& address) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWebEngineView& view();
    void keepFocusThroughWindowRecreation();

    QWebEngineView* view_ = nullptr;
    // Where the keyboard focus was when the view came, to give it back (see the .cpp).
    QPointer<QWidget> focusBeforeView_;
};

} // namespace platform
