// Fonts, images, PDF and SVG output need a GUI application object, as zorva-cli has one;
// the tests run on the offscreen platform. Linked into the test binaries that draw.
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QGuiApplication::instance()) return;
        static int argc = 1;
        static char name[] = "zorva-tests";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QGuiApplication(argc, argv);
    }
    // Only the application's end releases the font database; without it the memory that
    // fontconfig holds for the fonts used is lost at exit, which a leak checker reports.
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
