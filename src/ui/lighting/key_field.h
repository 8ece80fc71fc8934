#pragma once
// The coloured keys painted in one pass. While the lighting view shows colours, one widget over
// the key buttons draws them all, so a preview tick that recolours a hundred keys is one repaint
// of one widget rather than a hundred widgets' own. The buttons stay where they are under it,
// take the clicks and keep their looks: each key is drawn by its button's PaintLook, in the
// buttons' stacking order, and a button tells the field when its look changes.

#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <vector>

namespace qv::ui {

class CPngButton;

class CKeyField final : public QWidget {
public:
    // `keys` share one parent, which becomes the field's; they are drawn in their stacking order.
    explicit CKeyField(std::vector<CPngButton*> keys);

    // Over the keys, which tell the field of every change of their looks from now on.
    void Cover();
    // Gone; the keys paint themselves again.
    void Uncover();
    bool Covering() const { return covering_; }
    // Changes of looks from here to `EndBatch` are shown in one repaint: a preview tick recolours
    // most keys, and marking each one dirty on its own costs a merge of regions per key.
    void BeginBatch();
    void EndBatch();

protected:
    void paintEvent(QPaintEvent* event) override;
    // A key shown, hidden or moved while covered (the flip between the F and the D keys).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // `index`: the key's place in `keys_`.
    void KeyChanged(std::size_t index, CPngButton* key);
    // Over exactly the keys that are shown; false when none is.
    bool Reshape();

    // Guarded: the window deletes its children one by one, the keys before the field.
    std::vector<QPointer<CPngButton>> keys_;
    bool covering_ = false;
    bool batching_ = false;
    // Which of `keys_` changed during a batch.
    std::vector<bool> changed_;
    // The shown keys, in the field's coordinates.
    QRegion shape_;
};

}  // namespace qv::ui
