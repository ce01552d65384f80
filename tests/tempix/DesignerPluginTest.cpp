#include <gtest/gtest.h>

#ifdef TEMPIX_DESIGNER_PLUGIN

#include <QJsonObject>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include "tempix/TempixTB.h"

namespace tempix {
namespace {

TEST(TempixDesignerPlugin, OffersTheBoxToFormEditors) {
    QPluginLoader loader(QStringLiteral(TEMPIX_DESIGNER_PLUGIN));
    const QJsonObject meta = loader.metaData().value(QStringLiteral("MetaData")).toObject();
    EXPECT_EQ(meta.value(QStringLiteral("ClassId")).toString(),
              QStringLiteral("TempixTextBox.TempixTB"));
    QObject* instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(instance);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->name(), QStringLiteral("tempix::TempixTB"));
    EXPECT_EQ(plugin->includeFile(), QStringLiteral("tempix/TempixTB.h"));
    EXPECT_FALSE(plugin->isContainer());
    EXPECT_TRUE(plugin->toolTip().contains(QStringLiteral("TempixTextBox.TempixTB")));
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("<widget class=\"tempix::TempixTB\"")));
    plugin->initialize(nullptr);
    EXPECT_TRUE(plugin->isInitialized());

    QWidget form;
    QWidget* widget = plugin->createWidget(&form);
    auto* box = qobject_cast<TempixTB*>(widget);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), &form);
    EXPECT_EQ(box->TimeFormat(), "hh:mm:ss");
    // The plugin's metadata names the version of the library it offers.
    EXPECT_EQ(meta.value(QStringLiteral("Version")).toString().toStdString(), box->Version());
}

} // namespace
} // namespace tempix

#endif
