#pragma once

#include "lang/source_text.h"

class QWidget;

namespace torva {

class CLPGDevice;

// Why a control is of no use while a settings file stands in for the controller.
namespace live_only {
// Calibrations, mode switches, fault reads, recordings: they need the controller and its engine.
constexpr const char* kNeedsController =
    PL("Niedostępne przy pracy na pliku ustawień: wymaga podłączonego sterownika.");
// Values a settings file does not carry: an edit could never reach a controller through it.
constexpr const char* kNotInFile =
    PL("Plik ustawień nie przechowuje tej wartości: nie można jej zmienić offline.");
} // namespace live_only

// Marks a control whose action needs a live controller, with the reason its tool tip gives
// while a settings file is open offline.
void markLiveOnly(QWidget* control, const char* reason = live_only::kNeedsController);

// Every marked control under root (root included): disabled with its reason as tool tip while
// the device is offline; otherwise given back the enabled state and tool tip this took away.
void applyLiveOnly(QWidget* root, const CLPGDevice& device);

} // namespace torva
