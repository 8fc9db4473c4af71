// Scripted answers to the message boxes and dialogs that code under test opens on this thread.
// A WH_CBT hook sees each dialog-class window as it is activated and posts it a marker; when the
// dialog's own modal loop takes the marker (WH_GETMESSAGE hook) the dialog is initialised, so its
// caption, text and buttons are recorded and the scripted button press is posted. Product code
// needs no test-only branches.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;      // the message text of a message box ("" for other dialogs)
    HWND owner;            // owner window (nullptr for none)
    bool topmost;          // system-modal boxes are topmost
    bool hasOk, hasCancel, hasYes, hasNo;
    bool hasIcon;
    int answered;          // the button id pressed
};

// While a BoxScript lives, every dialog window activated on this thread is answered: with the next
// queued button if any, else with the default button. Destroying the script removes the hook.
struct BoxScript {
    explicit BoxScript(int defaultButton = IDOK);
    ~BoxScript();
    BoxScript(const BoxScript&) = delete;
    BoxScript& operator=(const BoxScript&) = delete;

    void queue(int button);  // answer for the next box
    // Called, once the dialog runs its loop, for a dialog that is not a message box, instead of
    // pressing a button; return true when the handler dealt with it. Lets tests drive dialogs.
    void onDialog(std::function<bool(HWND)> handler);
    const std::vector<SeenBox>& seen() const;
    // The text of the last box, or "" when none was shown.
    std::string lastText() const;
    size_t count() const { return seen().size(); }
};
