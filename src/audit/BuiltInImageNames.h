#pragma once

#include <array>
#include <string_view>

namespace orv {

// The interface images of the game's built-in interface, in table order.
// They count as used whenever the player settings ask for the built-in
// interface; they are never reported missing.
inline constexpr std::array<std::string_view, 22> BuiltInImageNames = {
    "bggame.bmp", "bggame.jpg",   "btnquit.gif", "btnsave.gif",   "btnexamine.gif", "bgmenu.bmp",
    "bgmenu.jpg", "btnintro.gif", "btnnew.gif",  "btnload.gif",   "btncredits.gif", "btnclose.gif",
    "btnyes.gif", "btnno.gif",    "btnok.gif",   "btncancel.gif", "bgsave.bmp",     "bgsave.jpg",
    "bgload.bmp", "bgload.jpg",   "bgquit.bmp",  "bgquit.jpg",
};

} // namespace orv
