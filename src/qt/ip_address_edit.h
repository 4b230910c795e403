#pragma once
#include <QFrame>

#include <array>
#include <cstdint>

class QLineEdit;

// Four fields of 0 to 255 with dots between them, one tab stop, like the Windows IP-address
// control. The value has the first field in the highest byte; a blank field reads as 0. Typing
// three digits or a dot moves on to the next field, and a number above 255 becomes 255.
class Cip_address_edit : public QFrame {
  public:
    explicit Cip_address_edit(QWidget* parent = nullptr);

    void set_address(std::uint32_t control_value);
    std::uint32_t address() const;

    // The four fields as shown, dots between them ("..." while all are blank).
    QString text() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void field_edited(int index);
    void move_to_field(int index, bool at_end);

    std::array<QLineEdit*, 4> fields_{};
};
