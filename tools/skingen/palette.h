#pragma once
// The product's colours, shared by every picture the generator draws.

#include <QColor>

namespace skingen {

inline const QColor kAccent(0x21, 0xc7, 0xff);
inline const QColor kAccentDeep(0x0e, 0x6d, 0x8f);
inline const QColor kText(0xe6, 0xe8, 0xec);
inline const QColor kMuted(0x8a, 0x90, 0x9a);
inline const QColor kDim(0x55, 0x5a, 0x63);

}  // namespace skingen
