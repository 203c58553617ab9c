#pragma once
// Texts cross between the windows and the core as 8-bit strings in the
// system's code page, as file names on disk are.
#include <QString>
#include <string>
#include <string_view>

namespace tagmora {

inline std::string Local8Bit(const QString& text) { return text.toLocal8Bit().toStdString(); }

inline QString FromLocal8Bit(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tagmora
