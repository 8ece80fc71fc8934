#pragma once
// A drop-down list that takes the mouse wheel only once the user has clicked or tabbed into it.
// A wheel turned over it on the way through the window scrolls the window instead of changing
// the choice, which for the lighting lists would rewrite the keyboard at every notch.

#include <QComboBox>

namespace qv::ui {

class CFocusWheelComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CFocusWheelComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace qv::ui
