#include <QApplication>
#include <gtest/gtest.h>

namespace {

// One application for the whole test program, made before the first test and gone after the
// last.
class Cqt_environment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "ketrin_qt_tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete application_;
        application_ = nullptr;
    }

  private:
    QApplication* application_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const qt_environment =
    ::testing::AddGlobalTestEnvironment(new Cqt_environment);

}  // namespace
