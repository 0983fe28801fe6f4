// SPDX-License-Identifier: MIT
#pragma once

/// Twips to pixels: the window's design measures in twips, 15 to a pixel at
/// 96 dpi.
constexpr int tw(int twips) {
    return twips / 15;
}
