#pragma once
// What the key editor asks of the main window. The main window implements it; tests record it.

namespace qv {

class EditorHost {
public:
    virtual ~EditorHost() = default;
    // Enables the main window's Apply: the working store holds changes the keyboard has not got.
    virtual void SetEditing(bool editing) = 0;
    // Assigned flag and tooltip of the button that shows this record of the active profile's
    // table: a key's slot (0..255) or 256 + n for G key n (n already counts the bank).
    virtual void RefreshKeyButton(int recordIndex) = 0;
    // The same for the 104 key buttons and the nine G buttons of the selected bank.
    virtual void RefreshKeyButtons() = 0;
};

}  // namespace qv
