#pragma once
#include <windows.h>

#include <string>

class Cdialog_window;

// One pass of data exchange between a dialog's members and its controls, in either direction.
class Cdata_exchange {
  public:
    Cdata_exchange(Cdialog_window& dialog, bool save_and_validate)
        : dialog_(dialog), save_and_validate_(save_and_validate) {}

    bool saving() const { return save_and_validate_; }
    bool failed() const { return failed_; }

    void text(int control_id, std::string& value);
    void check(int control_id, int& value);
    // Attaches a control wrapper (anything with attach(HWND)) to the dialog's control.
    template <typename Wrapper>
    void control(int control_id, Wrapper& wrapper) {
        wrapper.attach(item(control_id));
    }

  private:
    HWND item(int control_id);

    Cdialog_window& dialog_;
    bool save_and_validate_;
    bool failed_ = false;
};

// A modal dialog made from a resource template. Enter (the OK command) and Escape (Cancel) end
// it unless a subclass does otherwise; a template without a position style is centred over its
// owner, or the screen when it has none.
class Cdialog_window {
  public:
    // Without an owner the application's main window, while it is open, owns the dialog.
    explicit Cdialog_window(UINT template_id, HWND owner = nullptr);
    virtual ~Cdialog_window();
    Cdialog_window(const Cdialog_window&) = delete;
    Cdialog_window& operator=(const Cdialog_window&) = delete;

    INT_PTR do_modal();
    void end_dialog(INT_PTR result);

    HWND hwnd() const { return hwnd_; }
    HWND item(int control_id) const { return GetDlgItem(hwnd_, control_id); }

    // false when a control is missing: the members are then only partly exchanged.
    bool update_data(bool save_and_validate);

  protected:
    virtual void do_data_exchange(Cdata_exchange& exchange);
    // TRUE lets the platform put the focus on the first control.
    virtual BOOL on_init_dialog();
    virtual void on_ok();
    virtual void on_cancel();
    // Returns true when the command was handled.
    virtual bool on_command(WORD id, WORD notification);
    // Returns true when the message was handled; `result` is then its result.
    virtual bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  private:
    static INT_PTR CALLBACK dialog_procedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam);
    INT_PTR dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    void centre_unless_positioned();

    UINT template_id_;
    HWND owner_;
    HWND hwnd_ = nullptr;
};
