#pragma once

// The window texts of the shell (UTF-8). Meter texts live in meter/messages.h.
namespace dorvel::texts {

inline constexpr const char* kCaption = "Aurevia";
inline constexpr const char* kVersionPane = "Merovan V2.20";
inline constexpr const char* kPanelTitle = "ID von Aurevia";
inline constexpr const char* kSearchTitle = "The Result of Searching...";
inline constexpr const char* kNoResult = "No Result...";
inline constexpr const char* kAssignButton = "Der Patienten-ID zuordnen";
inline constexpr const char* kCreateButton = "Patienten-ID anlegen";
inline constexpr const char* kChooseRow = "Bitte rechts ID lhrer Messwerte auswählen.";
inline constexpr const char* kCreateFirst =
    "Bitte zuerst Patienten-ID in den Benutzer-Einstellungen erstellen";
inline constexpr const char* kConfirmDelete = "Aktuelle Benutzer-ID wirklich löschen?";
inline constexpr const char* kConfirmSearch = "Empfangene Daten werden gelöscht ! Fortfahren?";
inline constexpr const char* kStartHint = "Click the receive button...";
inline constexpr const char* kIdExists =
    "Es gibt bereits einen Benutzer mit gleicher ID. Diesen verwenden?";
inline constexpr const char* kNewIdDefaults = "Neuen Benutzer mit Standard-Einstellungen anlegen?";
inline constexpr const char* kProgressIdleTitle = "suche Ports...";
inline constexpr const char* kProgressIdleMessage = "suche.....";
inline constexpr const char* kProgressTitle = "Durchsuche Ports...";
inline constexpr const char* kProgressMessage = "Datenabruf..";
// A file that cannot be read is never shown as "no readings".
inline constexpr const char* kUnreadableReadings =
    "Die Messwerte des Patienten können nicht gelesen werden:\n%1";
inline constexpr const char* kUnreadableReceived =
    "Die empfangenen Daten können nicht gelesen werden:\n%1";

}  // namespace dorvel::texts
