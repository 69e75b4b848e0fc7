// Drawing graphs into PNG and PDF files needs a GUI application object, as zorva-cli has one.
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

class GraphGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QGuiApplication(argc, argv);
    }

private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GraphGuiEnvironment);

}  // namespace
