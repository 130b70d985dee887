// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QMainWindow>

#include "mainwindow/form1.h"
#include "platform/qt/form1_layout.h"
#include "platform/qt/form1_menu.h"
#include "platform/qt/form1dependencies.h"
#include "mainwindow/form1view.h"
#include "mainwindow/keyboardpollingloop.h"

class Form2;

// The main window on Qt: the widgets at their twips geometry, the menus and shortcut
// keys, the help window and the browser pane, driven by the portable behaviour Form1,
// which it owns. Each control carries its name as objectName.
class Form1Window final : public QMainWindow, public Form1View {
    Q_OBJECT
public:
    explicit Form1Window(Form1Dependencies deps = {}, QWidget* parent = nullptr);
    ~Form1Window() override;

    // The behaviour's entry points, for the program and for tests.
    [[noreturn]] void Form_Load() { form1_.Form_Load(); }
    void startUp() { form1_.startUp(); }
    void onAltPressed() { form1_.onAltPressed(); }

    // Form1View
    void setHandlers(Form1Handlers& handlers) override { handlers_ = &handlers; }
    void show() override;
    std::u16string caption() const override;
    void setCaption(std::u16string_view caption) override;
    void setOuterHeightTwips(int outerTwips) override;
    void hide() override;
    std::u16string text(Control control) const override;
    void setText(Control control, std::u16string_view text) override;
    void focusText1() override;
    bool lookupChecked() const override;
    void setLookupChecked(bool checked) override;
    void prepareBrowser() override;
    void navigate(std::u16string_view address) override;
    void showHelp() override;
    void hideHelp() override;
    void showMessageBox(std::u16string_view title, std::u16string_view text) override;
    void pumpEvents(std::chrono::milliseconds longestWait) override;
    void endProgram() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandlers();

    Form1Dependencies deps_;
    Form1Menu menu_;
    Form1Controls ui_;
    Form1Handlers* handlers_ = nullptr;
    KeyboardPollingLoop::Pump pump_;
    // The help window has no owner window: made on first use, kept until the end.
    std::unique_ptr<Form2> form2_;
    Form1 form1_; // last: it connects itself to the window
};
