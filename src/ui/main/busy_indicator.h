#pragma once
// The progress picture (control 1177) that Apply shows while the keyboard is being written: ten
// frames, "jdt1.bmp" to "jdt10.bmp", stepped every 50 ms (the window's timer 1050).

#include <QObject>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <filesystem>

class QLabel;
class QWidget;

namespace qv::ui {

class CBusyIndicator : public QObject {
    Q_OBJECT
public:
    explicit CBusyIndicator(QWidget& window);

    // The frames at a device pixel ratio; a missing frame shows nothing, it does not end the program.
    void LoadFrames(const std::filesystem::path& skinFolder, double ratio);
    void Show();
    // The picture stays up a little so even a quick Apply is seen to happen.
    void Hide();

    QLabel* Picture() const { return picture_; }
    bool Stepping() const { return timer_.isActive(); }
    int ShownCount() const { return shown_; }

private:
    QWidget& window_;
    QLabel* picture_;
    QTimer timer_;
    std::array<QPixmap, 10> frames_;
    int frame_ = 0;
    int shown_ = 0;
};

}  // namespace qv::ui
