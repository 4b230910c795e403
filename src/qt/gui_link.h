#pragma once
#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>

// Thrown into a command when the dialog it works for has gone, so that it stops there.
struct Cdialog_gone {};

// What ties a dialog to the commands it runs on threads of their own: each call a command makes
// on the dialog runs on the GUI thread, and once the dialog lets go none reaches it any more.
// Dialog and workers share it.
class Cgui_link : public std::enable_shared_from_this<Cgui_link> {
  public:
    // Runs `work` on a thread of its own, then `done` on the GUI thread unless the dialog has let
    // go by then. A Cdialog_gone that `work` throws ends it quietly.
    void run(std::function<void()> work, std::function<void()> done);

    // Runs `call` on the GUI thread and returns what it returns; from the GUI thread it runs at
    // once. Throws Cdialog_gone when the dialog let go before the call started.
    template <typename Call>
    auto call(Call call) -> decltype(call());

    // From the GUI thread, as the dialog goes: no later call reaches it, and a worker waiting for
    // a call that has not started is told so.
    void let_go();

  private:
    struct pending {
        bool started = false;
        bool finished = false;
        std::exception_ptr failure;
    };

    bool on_gui_thread() const { return QThread::currentThread() == qApp->thread(); }
    // Posts `run` to the GUI thread and waits until it ran, or the dialog let go before it started.
    void run_on_gui_thread(const std::function<void()>& run);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool gone_ = false;
};

// Whether a worker any dialog started is still running, abandoned or not.
bool background_work_running();

template <typename Call>
auto Cgui_link::call(Call call) -> decltype(call()) {
    using result_type = decltype(call());
    if (on_gui_thread()) {
        if (gone_) {
            throw Cdialog_gone{};
        }
        return call();
    }
    if constexpr (std::is_void_v<result_type>) {
        run_on_gui_thread(call);
    } else {
        std::optional<result_type> result;
        run_on_gui_thread([&] { result.emplace(call()); });
        return std::move(*result);
    }
}
