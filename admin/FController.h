#pragma once

#include <memory>

#include <QMainWindow>

namespace orvan {
class CSystemOptions;
} // namespace orvan

namespace orvan::admin {

class CController;

// The manager's main window (a minimal frame: the tabs come with the full
// window).
class FController : public QMainWindow {
    Q_OBJECT

public:
    explicit FController(QWidget* parent = nullptr);
    ~FController() override;

    // Keeps the controller, fills the window's lists and shows the window.
    void SetController(CController* controller);
    CController* Controller() const { return m_controller; }
    bool DisplaySystemOptions(const std::shared_ptr<orvan::CSystemOptions>& options);

protected:
    // Closing unloads the window and runs the controller's shutdown; when
    // that cannot save (database held elsewhere) the window stays open.
    void closeEvent(QCloseEvent* event) override;

private:
    CController* m_controller = nullptr;
};

} // namespace orvan::admin
