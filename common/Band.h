// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A band is named by its frequency in kHz everywhere: 518 (international) or 490
// (national). Where both are kept side by side, 518 comes first, in the slot BandSlot gives.
inline constexpr int InternationalBand = 518;
inline constexpr int NationalBand = 490;
inline constexpr int Bands[] = {InternationalBand, NationalBand};
inline constexpr int BandCount = 2;
inline constexpr int BandSlot(int band) {
    return band == NationalBand ? 1 : 0;
}
