#include <gtest/gtest.h>

#include <QApplication>

namespace {

QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform's font engine complains about every script it
// cannot shape; the mixed-script entries would flood the output with it.
void QuietFontWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("OpenType support missing"))) {
        return;
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, message);
    }
}

} // namespace

// The control tests need a running application object. Test discovery runs
// the binary without CTest's environment, so default to the offscreen
// platform when no other one was asked for.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    g_previousHandler = qInstallMessageHandler(QuietFontWarnings);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
