#pragma once
// A picture that acts as a button: it shows one bitmap at a time (its owner switches the bitmap
// to show a state) and reports clicks with its control id.

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

namespace qv::ui {

class CPictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CPictureButton(int controlId, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }
    // `name` is the picture's file name, kept so the state shown can be read back.
    void SetPicture(const QPixmap& picture, const QString& name);
    QString PictureName() const { return name_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int controlId_;
    QPixmap picture_;
    QString name_;
};

}  // namespace qv::ui
