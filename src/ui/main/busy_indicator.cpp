#include "ui/main/busy_indicator.h"

#include <QLabel>
#include <QWidget>

#include <string>

#include "ui/skin/skin_pictures.h"

namespace qv::ui {

CBusyIndicator::CBusyIndicator(QWidget& window) : window_(window), picture_(new QLabel(&window)) {
    picture_->setObjectName("static_1177");
    picture_->hide();
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % static_cast<int>(frames_.size());
        picture_->setPixmap(frames_[static_cast<std::size_t>(frame_)]);
    });
}

void CBusyIndicator::LoadFrames(const std::filesystem::path& skinFolder, double ratio) {
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        const std::string name = "jdt" + std::to_string(i + 1) + ".bmp";
        frames_[i] = QPixmap::fromImage(ReadSkinPicture(skinFolder / name, ratio));
    }
    if (picture_->isVisible()) picture_->setPixmap(frames_[static_cast<std::size_t>(frame_)]);
}

void CBusyIndicator::Show() {
    ++shown_;
    frame_ = 0;
    picture_->setPixmap(frames_[0]);
    picture_->show();
    picture_->raise();
    // The exchanges that follow hold this thread; paint now so the picture is seen meanwhile.
    if (window_.isVisible()) picture_->repaint();
    timer_.start(50);
}

void CBusyIndicator::Hide() {
    QTimer::singleShot(100, this, [this] {
        timer_.stop();
        picture_->hide();
    });
}

}  // namespace qv::ui
