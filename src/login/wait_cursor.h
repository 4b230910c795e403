#pragma once
#include "login/login_view.h"

// Shows the wait cursor for as long as it lives, so that every way out of a handler ends it.
class Cwait_cursor {
  public:
    explicit Cwait_cursor(Clogin_view& view) : view_(view) { view_.begin_wait_cursor(); }
    ~Cwait_cursor() { view_.end_wait_cursor(); }
    Cwait_cursor(const Cwait_cursor&) = delete;
    Cwait_cursor& operator=(const Cwait_cursor&) = delete;

  private:
    Clogin_view& view_;
};
