// Who the effect is, for every format: its name, its maker and its version.
// VST 2 publishes the version as one number, other formats as a
// "major.minor.revision" text; both come from kEffectVendorVersion.
#pragma once

#include <array>
#include <cstdint>

inline constexpr const char kEffectName[] = "Velmora";
inline constexpr const char kEffectVendor[] = "Quorvane";
// 1000 is 1.0.0: thousands are the major version, hundreds the minor, the
// rest the revision.
inline constexpr int32_t kEffectVendorVersion = 1000;

namespace effect_identity_detail {

constexpr char* appendNumber(char* out, int32_t value) {
    char digits[12] = {};
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count > 0) *out++ = digits[--count];
    return out;
}

constexpr std::array<char, 40> versionText(int32_t vendorVersion) {
    std::array<char, 40> text{};
    char* out = appendNumber(text.data(), vendorVersion / 1000);
    *out++ = '.';
    out = appendNumber(out, vendorVersion / 100 % 10);
    *out++ = '.';
    appendNumber(out, vendorVersion % 100);
    return text;
}

}  // namespace effect_identity_detail

inline constexpr std::array<char, 40> kEffectVersionText = effect_identity_detail::versionText(kEffectVendorVersion);
