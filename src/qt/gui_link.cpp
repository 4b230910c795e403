#include "qt/gui_link.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<int> running_workers{0};

}  // namespace

bool background_work_running() {
    return running_workers.load() != 0;
}

void Cgui_link::run(std::function<void()> work, std::function<void()> done) {
    ++running_workers;
    std::thread([self = shared_from_this(), work = std::move(work),
                 done = std::move(done)]() mutable {
        {
            // Moved here so that all they hold goes with this scope, before the count.
            const std::shared_ptr<Cgui_link> link = std::move(self);
            const std::function<void()> command = std::move(work);
            const std::function<void()> then = std::move(done);
            try {
                command();
                link->call(then);
            } catch (const Cdialog_gone&) {
            }
        }
        // Last: once the count is down nothing of this worker touches the program any more.
        --running_workers;
    }).detach();
}

void Cgui_link::run_on_gui_thread(const std::function<void()>& run) {
    auto state = std::make_shared<pending>();
    // The worker waits below until the call has finished, unless it never started, so `run`
    // outlives every use the GUI thread makes of it.
    QMetaObject::invokeMethod(
        qApp,
        [self = shared_from_this(), state, &run] {
            {
                const std::lock_guard<std::mutex> lock(self->mutex_);
                if (self->gone_) {
                    return;
                }
                state->started = true;
            }
            // Whatever the call throws belongs to the worker, not to the event loop.
            try {
                run();
            } catch (...) {
                state->failure = std::current_exception();
            }
            const std::lock_guard<std::mutex> lock(self->mutex_);
            state->finished = true;
            self->changed_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return state->finished || (gone_ && !state->started); });
    if (!state->finished) {
        throw Cdialog_gone{};
    }
    if (state->failure) {
        std::rethrow_exception(state->failure);
    }
}

void Cgui_link::let_go() {
    const std::lock_guard<std::mutex> lock(mutex_);
    gone_ = true;
    changed_.notify_all();
}
