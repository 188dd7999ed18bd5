#pragma once
// The order Explorer lists file names in, computed the same way on every
// system, so the command line walks a folder as the window does.

#include <string_view>

namespace tavrel {

// Negative, zero or positive as `a` sorts before, with or after `b`. Runs of
// ASCII digits compare by their value ("f2" before "f10", "f01" with "f1") and
// before any other character; ASCII punctuation in the order Windows gives it
// (' - space ! " # $ % & ( ) * , . / : ; ? @ [ \ ] ^ _ ` { | } ~ + < = >), then
// letters without regard to case; any other character after those, by its
// code unit once Latin-1, Greek, Cyrillic and fullwidth capitals are folded.
int CompareLogically(std::u16string_view a, std::u16string_view b);

// CompareLogically, and names it finds equal in code unit order, so that a
// sort gives one order whatever the order it started from.
bool LogicallyBefore(std::u16string_view a, std::u16string_view b);

}  // namespace tavrel
