// Keys: the platform's key codes, the values OnKeyDown and OnKeyUp hand to
// their handlers, so that handlers compare names, never toolkit numbers.
//
// A printable key is its upper-case Latin-1 character ('A', '5', ' '); the
// others are the platform's codes from $1000 on (Key_Return is $1004), in
// the order the toolkit keeps them. Controls map each key event's Qt 6 code
// onto these before a handler sees it.
#pragma once

#include "rtl/System.h"

inline constexpr Integer Key_Escape = 0x1000;
inline constexpr Integer Key_Tab = 0x1001;
inline constexpr Integer Key_Backtab = 0x1002;
inline constexpr Integer Key_Backspace = 0x1003;
inline constexpr Integer Key_Return = 0x1004;
// The Enter key of the keypad.
inline constexpr Integer Key_Enter = 0x1005;
inline constexpr Integer Key_Insert = 0x1006;
inline constexpr Integer Key_Delete = 0x1007;
inline constexpr Integer Key_Pause = 0x1008;
inline constexpr Integer Key_Print = 0x1009;
inline constexpr Integer Key_SysReq = 0x100A;
inline constexpr Integer Key_Home = 0x1010;
inline constexpr Integer Key_End = 0x1011;
inline constexpr Integer Key_Left = 0x1012;
inline constexpr Integer Key_Up = 0x1013;
inline constexpr Integer Key_Right = 0x1014;
inline constexpr Integer Key_Down = 0x1015;
inline constexpr Integer Key_Prior = 0x1016;
inline constexpr Integer Key_PageUp = Key_Prior;
inline constexpr Integer Key_Next = 0x1017;
inline constexpr Integer Key_PageDown = Key_Next;
inline constexpr Integer Key_Shift = 0x1020;
inline constexpr Integer Key_Control = 0x1021;
inline constexpr Integer Key_Meta = 0x1022;
inline constexpr Integer Key_Alt = 0x1023;
inline constexpr Integer Key_CapsLock = 0x1024;
inline constexpr Integer Key_NumLock = 0x1025;
inline constexpr Integer Key_ScrollLock = 0x1026;
inline constexpr Integer Key_F1 = 0x1030;
inline constexpr Integer Key_F2 = 0x1031;
inline constexpr Integer Key_F12 = 0x103B;
inline constexpr Integer Key_F24 = 0x1047;
inline constexpr Integer Key_Menu = 0x1055;
inline constexpr Integer Key_Help = 0x1058;
inline constexpr Integer Key_Space = 0x20;
