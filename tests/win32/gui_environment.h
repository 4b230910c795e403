#pragma once
// What the GUI tests' fixtures prepared around the program: the hosts file that both the program
// and the resolver use, and a read-only directory.
#include <windows.h>

#include "app/platform_services.h"
#include "fixtures/test_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A path below the directory the fixture script made, as Wine shows it.
std::string gui_mounts_path(const std::string& leaf);

// The file's identity on its volume (the inode under Wine); 0 when it cannot be opened.
ULONGLONG file_index(const std::string& path);

// The icon the program shows for itself.
HICON program_icon();

class Cdialog_driver;

// The real system, but every rewrite fails: the hosts file lies where even root may not write.
class Cread_only_hosts_services : public Cplatform_services {
  public:
    std::string hosts_file_path() override { return gui_mounts_path("ro\\hosts"); }
};

// The hosts file that the program and the resolver share: localhost and then `lines`.
void set_hosts_file(const std::string& lines);

// Runs the main dialog as the program does: the application's main window while it is open.
// `watch`, when given, sees every message sent to the windows of the dialog's thread.
std::unique_ptr<Cdialog_driver> run_main_dialog(Csystem_services& services,
                                                HOOKPROC watch = nullptr);
// Runs the login dialog on its own, against the program's server-list host and port.
std::unique_ptr<Cdialog_driver> run_login_dialog(Clogin_services& services);

// Tests of the main dialog: each starts with no games in the registry and a hosts file that
// holds only localhost, and opens the dialog as the program runs it.
class main_dialog_test : public testing::Test {
  protected:
    void SetUp() override;

    HWND open(Csystem_services& services);
    HWND open() { return open(services_); }

    Cplatform_services services_;
    std::unique_ptr<Cdialog_driver> driver_;
};
