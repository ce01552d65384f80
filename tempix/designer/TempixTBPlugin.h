#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace tempix {

// Offers the date/time box to Qt Designer (and to Qt Creator's form editor)
// under the class identifier "TempixTextBox.TempixTB", with a task menu
// entry that opens the box's property page.
class TempixTBPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.QDesignerCustomWidgetInterface" FILE "tempixplugin.json")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit TempixTBPlugin(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    bool m_initialized = false;
};

} // namespace tempix
