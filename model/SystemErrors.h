#pragma once
// Windows system error numbers (what GetLastError gives), used on every platform so that
// outcomes read the same in the product and in the native build.

#include <cstdint>

namespace norvi::syserr {

constexpr uint32_t Success = 0;
constexpr uint32_t FileNotFound = 2;
constexpr uint32_t PathNotFound = 3;
constexpr uint32_t AccessDenied = 5;
constexpr uint32_t NotEnoughMemory = 8;
constexpr uint32_t WriteFault = 29;
constexpr uint32_t ReadFault = 30;
constexpr uint32_t GenFailure = 31;
constexpr uint32_t FileExists = 80;
constexpr uint32_t InvalidParameter = 87;
constexpr uint32_t InvalidName = 123;
constexpr uint32_t AlreadyExists = 183;
constexpr uint32_t FileTooLarge = 223;
constexpr uint32_t NoMoreItems = 259;

}  // namespace norvi::syserr
