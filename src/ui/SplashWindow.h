// The start-up window: shown while the main window is built, it closes itself after its
// display time and only then lets the main window process the command line.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

namespace cuttrace::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDisplayMilliseconds = 4000;

    // onElapsed runs once, when the display time ends, just before the window closes.
    // Its display timer is the child "displayTimer".
    explicit SplashWindow(std::function<void()> onElapsed,
                          int displayMilliseconds = kDisplayMilliseconds);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void OnDisplayTimeElapsed();

    QTimer timer_;
    std::function<void()> onElapsed_;
};

}  // namespace cuttrace::ui
