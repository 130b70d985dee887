#pragma once

#include <memory>

#include <QMainWindow>

#include "form1_layout.h"
#include "form1_menu.h"
#include "form1dependencies.h"

class Form2;

// The main window: the input box the scanner types into, the decoded fields, the
// lookup status and browser pane, and the menus. The program starts by creating it and
// running Form_Load.
class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Form1Dependencies deps = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // The load handler: startUp(), then the keyboard-polling loop, which is the
    // program's event loop for as long as it runs. Never returns; the program ends only
    // from inside a handler. Needs the key state of the dependencies.
    [[noreturn]] void Form_Load();

    // The load handler's steps before the loop: show the window, add the version to its
    // caption, fill the symbol alphabet.
    void startUp();

    // What the loop does when Alt is down or was pressed: bring the window forward,
    // focus the input box and empty it, so the next scan starts afresh.
    void onAltPressed();

    // Sets the window's outer height in twips, the frame counted as 660 twips: the
    // client area below the menu bar becomes outerTwips - 660 high whatever the frame
    // really is. Works while the window is minimized or hidden.
    void setOuterHeightTwips(int outerTwips);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Handlers of the window's events.
    void Text1_Change();
    void mnu_exit_Click();
    void mnu_lookup_Click();
    void mnu_help_Click();
    void mnu_About_Click();
    void Form_Unload(QCloseEvent* event);

    void decodeScan();
    void webLookup();

    void connectHandlers();

    Form1Dependencies deps_;
    Form1Menu menu_;
    Form1Controls ui_;
    // The help window has no owner window: made on first use, kept until the end.
    std::unique_ptr<Form2> form2_;
};
