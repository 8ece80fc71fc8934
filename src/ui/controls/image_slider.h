#pragma once
// An image slider: a few positions, each with a picture of the whole slider at that position.
// A click or a drag moves it to the position under the mouse, the arrow keys (and Home/End) step
// it; every move is reported like the slider-moved notification: the control id and the new
// position.

#include <QPixmap>
#include <QWidget>

#include <vector>

namespace qv::ui {

class CImageSlider : public QWidget {
    Q_OBJECT
public:
    CImageSlider(int controlId, int positions, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }
    int Positions() const { return positions_; }
    // One picture per position; a missing one leaves the slider empty at that position.
    void SetPictures(std::vector<QPixmap> pictures);
    // Moves without reporting (a refresh from the model).
    void SetPosition(int position);
    int Position() const { return position_; }
    // The x coordinate at which a position sits (where a click lands on it).
    int PositionX(int position) const;

signals:
    void moved(int controlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int PositionAt(int x) const;
    int Margin() const;
    // Moves and reports, when the position changes.
    void MoveTo(int position);

    int controlId_;
    int positions_;
    int position_ = 0;
    bool dragging_ = false;
    std::vector<QPixmap> pictures_;
};

}  // namespace qv::ui
