// The table of commands: names, arguments and the help each prints.
#include <algorithm>
#include <array>
#include <ostream>

#include "cli.h"

namespace dorvel::cli {

namespace {

// clang-format off
constexpr std::array kCommands = {
    Command{"certificate", RunCertificate, "PATIENT --out FILE",
        "Schreibt die Bescheinigungs-CSV des Patienten (Windows-1252).\n"},
    Command{"decode", RunDecode, "REPLYFILE",
        "Liest die Datei als gesammelte Antwort des Messgeräts. Ein vollständiger Abruf\n"
        "schreibt gr_lowdata.dat und gr_data.dat und nennt je Messgerät-Benutzer\n"
        "(GUEST oder drei Ziffern) die Zahl der Messwerte.\n"
        "Exit-Status: 3 unvollständig, 4 keine Daten, 5 Löschbestätigung,\n"
        "6 Prüfung fehlgeschlagen.\n"},
    Command{"download", RunDownload,
        "--port DEVICE [--erase] [--transcript FILE] [--timeout-ms MS] [--attempts N] "
        "[--watchdog-ms MS]",
        "Ruft die Messwerte vom Messgerät an DEVICE ab (mit --erase: löscht sie) und\n"
        "gibt aus wie decode. --transcript hält die Antwort Byte für Byte fest.\n"
        "--timeout-ms: Wartezeit auf die Antwort (3000), --attempts: Versuche (26),\n"
        "--watchdog-ms: längste Pause in einer Antwort (3000).\n"
        "Exit-Status wie decode; 2 keine Antwort.\n"},
    Command{"export", RunExport, "PATIENT --out FILE [--fahrenheit]",
        "Schreibt alle Messwerte des Patienten als CSV (Windows-1252).\n"
        "--fahrenheit: Temperaturen in °F.\n"},
    Command{"import", RunImport, "PATIENT USER",
        "Übernimmt die Messwerte des Messgerät-Benutzers USER (GUEST oder drei Ziffern)\n"
        "aus gr_data.dat in die Datei des Patienten und nennt deren Zahl der Messwerte.\n"},
    Command{"mail", RunMail, "[PATIENT]",
        "Schreibt die Mail-CSV jedes Patienten (oder des genannten) nach DATA/Mail,\n"
        "übergibt sie dem Mailprogramm und nennt die Dateien.\n"},
    Command{"patients", RunPatients, "",
        "Erstellt die Patientenliste neu: je Patient ID, Name, Zahl der Messwerte und\n"
        "Betreuer, durch Tabulatoren getrennt.\n"},
    Command{"print", RunPrint,
        "PATIENT --out FILE.pdf [--reports LIST] [--date YYYY-MM-DD] [--diagnosis-date]",
        "Druckt die ärztliche Bescheinigung wie \"Markierung\" im Druckdialog in eine\n"
        "PDF-Datei: das Deckblatt und jeden Bericht aus LIST (Seitennummern 1 bis 9,\n"
        "durch Kommas getrennt, z. B. 1,3,5; ohne --reports alle) und nennt die Zahl der\n"
        "Seiten. --date: der Tag des Drucks (Vorgabe heute); die Monatsberichte zählen\n"
        "von seinem Monat zurück. --diagnosis-date: druckt das Datum der Diagnose in\n"
        "die Kopfzeilen.\n"},
    Command{"readings", RunReadings, "PATIENT",
        "Gibt die Messwerte des Patienten aus, ein gespeicherter Datensatz je Zeile.\n"},
    Command{"report", RunReport,
        "PATIENT --page N --out FILE [--date YYYY-MM-DD] [--fahrenheit]",
        "Zeichnet die Berichtsseite N (1 bis 9) als .png, .bmp oder .pdf (die gedruckte\n"
        "Seite). --date: der gewählte Tag (Vorgabe heute), --fahrenheit: Temperaturen\n"
        "in °F.\n"},
    Command{"stats", RunStats, "PATIENT [--date YYYY-MM-DD]",
        "Gibt jede Statistik des Zeitraums, der am Tag endet (Vorgabe heute), als ein\n"
        "JSON-Objekt aus.\n"},
};
// clang-format on

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(std::string_view name) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [name](const Command& c) { return c.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

std::string UsageLine(const Command& command) {
    std::string line = "Aufruf: " + std::string(command.name);
    if (!command.arguments.empty())
        line += " " + std::string(command.arguments);
    return line;
}

int UsageError(Context& ctx, std::string_view command) {
    const Command* known = FindCommand(command);
    return Fail(ctx, known != nullptr ? UsageLine(*known) : "Aufruf: dorvel-cli --help");
}

}  // namespace dorvel::cli
