#pragma once

// A dialog that can show the wait cursor while a command blocks.
class Cwait_cursor_view {
  public:
    virtual ~Cwait_cursor_view() = default;

    virtual void begin_wait_cursor() = 0;
    virtual void end_wait_cursor() = 0;
};

// Shows the wait cursor for as long as it lives, so that every way out of a handler ends it.
class Cwait_cursor {
  public:
    explicit Cwait_cursor(Cwait_cursor_view& view) : view_(view) { view_.begin_wait_cursor(); }
    ~Cwait_cursor() { view_.end_wait_cursor(); }
    Cwait_cursor(const Cwait_cursor&) = delete;
    Cwait_cursor& operator=(const Cwait_cursor&) = delete;

  private:
    Cwait_cursor_view& view_;
};
