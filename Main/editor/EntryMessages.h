#pragma once

#include <string_view>

// The refusals that many editors of the windows share.
namespace edit {

// The typed text is no number.
inline constexpr std::string_view kParseError = "Ошибка при вводе значения! Повторите ввод!";
// The number is outside the field's range; the voltage fields end the sentence with a full stop.
inline constexpr std::string_view kRangeError = "Выход за границы диапазона! Повторите ввод!";
inline constexpr std::string_view kVoltageRangeError = "Выход за границы диапазона! Повторите ввод.";

}  // namespace edit
