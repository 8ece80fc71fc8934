// Key matrices read from the keyboard, against the built-in factory matrix or one from the input.
// Decoding must not crash, and decode(encode(decode(m))) must equal decode(m) once settled.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/keyboard/key_matrix_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < qv::kKeyMatrixBytes) return 0;
    qv::KeyMatrix matrix{};
    std::copy_n(data, qv::kKeyMatrixBytes, matrix.begin());
    qv::KeyMatrix factory = qv::BuiltInFactoryMatrix();
    if (size >= 2 * qv::kKeyMatrixBytes) {
        std::copy_n(data + qv::kKeyMatrixBytes, qv::kKeyMatrixBytes, factory.begin());
    }

    // Ids 1..256 at indices 0..255, so every macro index of an entry has its id.
    static const qv::MacroList macros = [] {
        qv::MacroList list(256);
        for (std::size_t i = 0; i < list.size(); ++i) list[i].id = static_cast<std::uint16_t>(i + 1);
        return list;
    }();

    qv::KeyTable first;
    qv::DecodeKeyMatrix(matrix, first, factory);
    qv::KeyTable second;
    qv::DecodeKeyMatrix(qv::EncodeKeyMatrix(first, macros, factory), second, factory);
    qv::KeyTable third;
    qv::DecodeKeyMatrix(qv::EncodeKeyMatrix(second, macros, factory), third, factory);
    if (!(second == third)) std::abort();
    return 0;
}
