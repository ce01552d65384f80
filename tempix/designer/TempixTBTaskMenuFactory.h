#pragma once

#include <QtDesigner/QExtensionFactory>

class QExtensionManager;

namespace tempix {

// Makes the task menu extension for each date/time box in a form.
class TempixTBTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT

public:
    explicit TempixTBTaskMenuFactory(QExtensionManager* parent = nullptr);

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

} // namespace tempix
