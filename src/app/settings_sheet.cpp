#include "settings_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "dorvel_doc.h"
#include "prompter.h"
#include "qt_text.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "target_entry.h"
#include "texts.h"

namespace dorvel {
namespace {

QDate ToQDate(const Date& d) {
    return QDate(d.year, d.month, d.day);
}
Date FromQDate(const QDate& d) {
    return Date{d.year(), d.month(), d.day()};
}
QTime ToQTime(const TimeOfDay& t) {
    return QTime(t.hour, t.minute, t.second);
}
TimeOfDay FromQTime(const QTime& t) {
    return TimeOfDay{t.hour(), t.minute(), t.second()};
}

QString TimeFormat(int timeFormat) {
    return timeFormat == 0 ? "hh:mm AP" : "HH:mm";
}

// The rows of the target table: before meal, after meal, overall.
const char* const kTargetRows[] = {"Vor jeder Mahlzeit", "Nach jeder Mahlzeit",
                                   "Zielbereich für alle"};

// Why the profile was not written, for the user.
QString ProfileWriteProblem(const WriteResult& written) {
    return written.status == WriteStatus::ReadOnly
               ? QString("Das Patientenprofil ist schreibgeschützt.")
               : QString("Das Patientenprofil konnte nicht gespeichert werden (%1).")
                     .arg(QString::fromStdString(written.detail));
}

}  // namespace

CMyPropertySheet::CMyPropertySheet(CDorvelDoc& doc, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      prompter_(prompter),
      tabs_(new QTabWidget(this)),
      ok_(new QPushButton("OK", this)),
      cancel_(new QPushButton("Abbrechen", this)),
      apply_(new QPushButton("Bestätigen", this)) {
    setWindowTitle("Benutzer-Einstellungen");
    tabs_->addTab(BuildProfilePage(), "Benutzer-Profil");
    tabs_->addTab(BuildDiagnosisPage(), "Diagnose");
    tabs_->addTab(BuildTimePage(), "Zeit-Einstellungen");
    tabs_->addTab(BuildDataPage(), "Daten-Einstellungen");
    apply_->setEnabled(false);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] {
        CommitId();
        Apply();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &CMyPropertySheet::Apply);
    FillPages();
}

void CMyPropertySheet::FillPages() {
    FillProfilePage();
    FillDiagnosisPage();
    FillTimePage();
    FillDataPage();
}

void CMyPropertySheet::MarkModified() {
    if (filling_) {
        return;
    }
    modified_ = true;
    apply_->setEnabled(true);
}

void CMyPropertySheet::Apply() {
    const WriteResult written = doc_.store().WriteProfile(doc_.dataFolder(), doc_.currentPatientId,
                                                          doc_.profile, doc_.settings);
    unsaved_ = !written.ok();
    if (unsaved_) {
        // The edits stay in memory and the page stays marked, so the user
        // can try again; but nobody may believe they are on disk.
        prompter_.Message(this,
                          ProfileWriteProblem(written) +
                              " Die Änderungen der Benutzer-Einstellungen gelten nur bis "
                              "zum Programmende.",
                          texts::kCaption);
        return;
    }
    modified_ = false;
    apply_->setEnabled(false);
}

QWidget* CMyPropertySheet::BuildProfilePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    PatientProfile& p = doc_.profile;

    auto addText = [this](QFormLayout* form, const char* label, std::string* field) {
        auto* edit = new QLineEdit;
        form->addRow(label, edit);
        texts_.push_back({edit, field});
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] {
            std::string value = ToStored(edit->text());
            if (value != *field) {
                *field = value;
                MarkModified();
            }
        });
        return edit;
    };

    auto* patientBox = new QGroupBox(" Patient ");
    auto* pf = new QFormLayout(patientBox);
    idEdit_ = new QLineEdit;
    pf->addRow("ID :", idEdit_);
    connect(idEdit_, &QLineEdit::editingFinished, this, &CMyPropertySheet::CommitId);
    nameEdit_ = addText(pf, "Name :", &p.name);
    sex_ = new QComboBox;
    sex_->addItems({"männlich", "weiblich"});
    pf->addRow("Geschlecht :", sex_);
    connect(sex_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!filling_ && i != doc_.profile.sex) {
            doc_.profile.sex = i;
            MarkModified();
        }
    });
    birth_ = new QDateEdit;
    birth_->setDisplayFormat("dd.MM.yyyy");
    pf->addRow("Geburtsdatum :", birth_);
    connect(birth_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!filling_ && FromQDate(d) != doc_.profile.birthDate) {
            doc_.profile.birthDate = FromQDate(d);
            MarkModified();
        }
    });
    addText(pf, "Tel.:", &p.telephone);
    addText(pf, "Handy :", &p.mobile);
    addText(pf, "E-mail :", &p.email);
    addText(pf, "Fax :", &p.fax);
    addText(pf, "Anschrift :", &p.address);
    addText(pf, "Pflegeeinrichtung :", &p.careHome);
    addText(pf, "Vermerk :", &p.remark);
    addText(pf, "Zimmer Nr. :", &p.room);
    addText(pf, "Bett Nr. :", &p.bed);

    auto* carerBox = new QGroupBox(" Betreuer(in) ");
    auto* cf = new QFormLayout(carerBox);
    addText(cf, "Name :", &p.carer);
    addText(cf, "Vermerk :", &p.carerRemark);

    auto* doctorBox = new QGroupBox("  Arzt ");
    auto* df = new QFormLayout(doctorBox);
    addText(df, "Name :", &p.physician);
    addText(df, "Krankenhaus :", &p.hospital);
    addText(df, "Tel. :", &p.physicianTelephone);
    addText(df, "Handy :", &p.physicianMobile);
    addText(df, "E-mail :", &p.physicianEmail);
    addText(df, "Fax :", &p.physicianFax);

    auto* right = new QVBoxLayout;
    right->addWidget(carerBox);
    right->addWidget(doctorBox);
    auto* row = new QHBoxLayout;
    row->addWidget(patientBox);
    row->addLayout(right);
    layout->addLayout(row);
    return page;
}

void CMyPropertySheet::FillProfilePage() {
    filling_ = true;
    idEdit_->setText(FromStored(doc_.currentPatientId));
    for (auto& [edit, field] : texts_) {
        edit->setText(FromStored(*field));
    }
    sex_->setCurrentIndex(doc_.profile.sex == 1 ? 1 : 0);
    birth_->setDate(ToQDate(doc_.profile.birthDate));
    filling_ = false;
}

void CMyPropertySheet::CommitId() {
    const std::string typed = ToStored(idEdit_->text());
    if (typed == doc_.currentPatientId) {
        return;
    }
    PatientStore& store = doc_.store();
    const std::string& folder = doc_.dataFolder();
    if (auto problem = PatientIdProblem(typed)) {
        // The ID becomes a file name: refuse it before any file is touched.
        prompter_.Message(this, QString::fromStdString(*problem), texts::kCaption);
        FillProfilePage();
        return;
    }
    if (store.ProfileExists(folder, typed)) {
        if (prompter_.AskYesNo(this, texts::kIdExists, texts::kCaption)) {
            const WriteResult saved =
                store.WriteProfile(folder, doc_.currentPatientId, doc_.profile, doc_.settings);
            if (!saved.ok()) {
                // Switching now would drop the edits the file lacks.
                prompter_.Message(this,
                                  ProfileWriteProblem(saved) +
                                      QString(" Die Patienten-ID bleibt %1, damit die Änderungen "
                                              "nicht verloren gehen.")
                                          .arg(FromStored(doc_.currentPatientId)),
                                  texts::kCaption);
                FillProfilePage();
                return;
            }
            doc_.currentPatientId = typed;
            store.ReadProfile(folder, typed, doc_.profile, doc_.settings);
        } else {
            store.ReadProfile(folder, doc_.currentPatientId, doc_.profile, doc_.settings);
        }
    } else {
        // Answered No, the new patient starts as a copy of the previous one.
        const bool defaults = prompter_.AskYesNo(this, texts::kNewIdDefaults, texts::kCaption);
        PatientProfile profile = doc_.profile;
        UserSettings settings = doc_.settings;
        if (defaults) {
            store.ReadProfile(folder, typed, profile, settings);
        }
        if (!store.WriteProfile(folder, typed, profile, settings).ok()) {
            // Without its profile the patient would be listed nowhere, and
            // readings assigned to it could not be found again: keep the
            // previous patient.
            store.StorePatientId(doc_.currentPatientId);
            prompter_.Message(this,
                              QString("Die Patienten-ID %1 konnte nicht angelegt werden: das "
                                      "Profil lässt sich im Datenordner nicht speichern.")
                                  .arg(FromStored(typed)),
                              texts::kCaption);
            FillProfilePage();
            return;
        }
        doc_.currentPatientId = typed;
        store.StorePatientId(typed);
        store.ReadProfile(folder, typed, doc_.profile, doc_.settings);
    }
    // Every page shows the patient now loaded: a remark typed on another
    // page must not carry the previous patient's text into this profile.
    FillPages();
    MarkModified();
}

QWidget* CMyPropertySheet::BuildDiagnosisPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    PatientProfile& p = doc_.profile;

    auto* diagnosis = new QGroupBox("   Diagnose  ");
    auto* form = new QFormLayout(diagnosis);
    diabetesType_ = new QComboBox;
    diabetesType_->addItems({"Type  I", "Type II", "Schwangerschaftsdiabetes", "Andere"});
    form->addRow("Diabetes-Typ :", diabetesType_);
    connect(diabetesType_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!filling_ && i != doc_.profile.diabetesType) {
            doc_.profile.diabetesType = i;
            MarkModified();
        }
    });
    diagnosisDate_ = new QDateEdit;
    diagnosisDate_->setDisplayFormat("dd.MM.yyyy");
    form->addRow("Festgestellt am :", diagnosisDate_);
    connect(diagnosisDate_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!filling_) {
            doc_.profile.diagnosisDate = FromQDate(d);
            MarkModified();
        }
    });
    auto multiLine = [this](std::string* field) {
        auto* edit = new QPlainTextEdit;
        connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, field] {
            if (!filling_) {
                *field = ToStored(edit->toPlainText());
                MarkModified();
            }
        });
        return edit;
    };
    auto* complications = new QLineEdit;
    texts_.push_back({complications, &p.complications});
    connect(complications, &QLineEdit::editingFinished, this, [this, complications] {
        std::string v = ToStored(complications->text());
        if (v != doc_.profile.complications) {
            doc_.profile.complications = v;
            MarkModified();
        }
    });
    form->addRow("Komplikationen :", complications);
    diagnosisComments_ = multiLine(&p.diagnosisComments);
    form->addRow("Bemerkungen :", diagnosisComments_);

    auto* treatment = new QGroupBox("   Behandlung  ");
    auto* tl = new QGridLayout(treatment);
    const std::pair<const char*, int*> checks[] = {{"Diät", &p.treatDiet},
                                                   {"Sport", &p.treatSport},
                                                   {"Insulin-Injektion", &p.treatInsulinInjection},
                                                   {"Insulinpumpe", &p.treatInsulinPump},
                                                   {"Medikament", &p.treatOral},
                                                   {"Andere", &p.treatOther}};
    int n = 0;
    for (const auto& [label, field] : checks) {
        auto* box = new QCheckBox(label);
        int* target = field;
        treatments_.push_back({box, target});
        connect(box, &QCheckBox::toggled, this, [this, target](bool on) {
            if (!filling_) {
                *target = on ? 1 : 0;
                MarkModified();
            }
        });
        tl->addWidget(box, n / 3, n % 3);
        ++n;
    }
    tl->addWidget(new QLabel("Bemerkungen :"), 2, 0);
    treatmentComments_ = multiLine(&p.treatmentComments);
    tl->addWidget(treatmentComments_, 3, 0, 1, 3);
    layout->addWidget(diagnosis);
    layout->addWidget(treatment);
    return page;
}

void CMyPropertySheet::FillDiagnosisPage() {
    const PatientProfile& p = doc_.profile;
    filling_ = true;
    diabetesType_->setCurrentIndex(p.diabetesType >= 0 && p.diabetesType <= 3 ? p.diabetesType : 0);
    diagnosisDate_->setDate(ToQDate(p.diagnosisDate));
    diagnosisComments_->setPlainText(FromStored(p.diagnosisComments));
    treatmentComments_->setPlainText(FromStored(p.treatmentComments));
    for (auto& [box, field] : treatments_) {
        box->setChecked(*field == 1);
    }
    filling_ = false;
}

QWidget* CMyPropertySheet::BuildTimePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    // The formats are fixed while the sheet is open: day first and 24 hours.
    doc_.settings.dateFormat = 2;
    doc_.settings.timeFormat = 1;
    auto* formats = new QHBoxLayout;
    auto* dateBox = new QGroupBox(" Datumsformat ");
    auto* dl = new QVBoxLayout(dateBox);
    for (const char* label : {"TT-MM-JJ", "MM-JJ-TT", "JJ-MM-TT"}) {
        auto* b = new QRadioButton(label);
        dl->addWidget(b);
        formatButtons_.push_back(b);
    }
    formatButtons_[0]->setChecked(true);
    auto* timeBox = new QGroupBox(" Zeiteinstellung ");
    auto* tl = new QVBoxLayout(timeBox);
    auto* twelve = new QRadioButton("12 Stunden");
    auto* full = new QRadioButton("24 Stunden");
    full->setChecked(true);
    tl->addWidget(twelve);
    tl->addWidget(full);
    formatButtons_.push_back(twelve);
    formatButtons_.push_back(full);
    for (auto* b : formatButtons_) {
        b->setEnabled(false);
    }
    formats->addWidget(dateBox);
    formats->addWidget(timeBox);
    layout->addLayout(formats);

    separate_ = new QCheckBox("vor/nach Mahlzeit getrennt");
    connect(separate_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_) {
            doc_.settings.separateMeals = on ? 1 : 0;
            MarkModified();
        }
    });
    layout->addWidget(separate_);

    auto* table = new QGroupBox(" Zeit-Einstellung der Tages-/Mahlzeiten ");
    auto* grid = new QGridLayout(table);
    const char* heads[] = {"Tages-/Mahlzeit", "Unterteilung", "von [Zeit]", "bis [Zeit]"};
    for (int c = 0; c < 4; ++c) {
        grid->addWidget(new QLabel(heads[c]), 0, c);
    }
    const std::pair<const char*, const char*> rows[] = {
        {"Schlaf", ""}, {"Frühstück", "vor"},  {"", "nach"}, {"Mittagessen", "vor"},
        {"", "nach"},   {"Abendessen", "vor"}, {"", "nach"}, {"Abend", ""}};
    for (int i = 0; i < kSlotCount; ++i) {
        grid->addWidget(new QLabel(rows[i].first), i + 1, 0);
        grid->addWidget(new QLabel(rows[i].second), i + 1, 1);
        slots_[i] = new QTimeEdit;
        slots_[i]->setDisplayFormat(TimeFormat(doc_.settings.timeFormat));
        slotEnds_[i] = new QLabel;
        grid->addWidget(slots_[i], i + 1, 2);
        grid->addWidget(slotEnds_[i], i + 1, 3);
        connect(slots_[i], &QTimeEdit::timeChanged, this, [this, i](const QTime& t) {
            if (!filling_) {
                doc_.settings.slotStart[i] = FromQTime(t);
                ShowSlotEnds();
                MarkModified();
            }
        });
    }
    layout->addWidget(table);
    layout->addStretch();
    return page;
}

void CMyPropertySheet::FillTimePage() {
    filling_ = true;
    separate_->setChecked(doc_.settings.separateMeals == 1);
    for (int i = 0; i < kSlotCount; ++i) {
        slots_[i]->setTime(ToQTime(doc_.settings.slotStart[i]));
    }
    ShowSlotEnds();
    filling_ = false;
}

void CMyPropertySheet::ShowSlotEnds() {
    const char* format = doc_.settings.timeFormat == 0 ? "hh:mm AP" : "HH:mm";
    for (int i = 0; i < kSlotCount; ++i) {
        const TimeOfDay& next = doc_.settings.slotStart[(i + 1) % kSlotCount];
        slotEnds_[i]->setText(ToQTime(next).toString(format));
    }
}

QWidget* CMyPropertySheet::BuildDataPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto radioGroup = [this](const char* title, const char* a, const char* b, int* field,
                             std::array<QRadioButton*, 2>& out) {
        auto* box = new QGroupBox(title);
        auto* l = new QHBoxLayout(box);
        out = {new QRadioButton(a), new QRadioButton(b)};
        l->addWidget(out[0]);
        l->addWidget(out[1]);
        connect(out[1], &QRadioButton::toggled, this, [this, field](bool on) {
            if (!filling_) {
                *field = on ? 1 : 0;
                MarkModified();
                ShowTargets();
            }
        });
        return box;
    };
    layout->addWidget(
        radioGroup("Einstellung Maßeinheit", "mg/dL", "mmol/L", &doc_.settings.glucoseUnit, unit_));
    layout->addWidget(radioGroup("Temperatur-Einstellung", "° C", "Fahrenheit",
                                 &doc_.runSettings.temperatureUnit, temperature_));
    layout->addWidget(radioGroup("Messergebnisse mit Kontrolllösung", "anzeigen", "ausblenden",
                                 &doc_.runSettings.controlDisplay, control_));

    auto* box = new QGroupBox(" Zielbereiche ");
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel("Zielbereich"), 0, 0);
    grid->addWidget(new QLabel("von[Messwert]"), 0, 1);
    grid->addWidget(new QLabel("bis[Messwert]"), 0, 2);
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(kTargetRows[r]), r + 1, 0);
        for (int c = 0; c < 2; ++c) {
            int i = r * 2 + c;
            targets_[i] = new QLineEdit;
            grid->addWidget(targets_[i], r + 1, c + 1);
            connect(targets_[i], &QLineEdit::editingFinished, this, [this, i] { CommitTarget(i); });
        }
    }
    layout->addWidget(box);
    layout->addStretch();
    return page;
}

void CMyPropertySheet::FillDataPage() {
    filling_ = true;
    unit_[doc_.settings.glucoseUnit == 1 ? 1 : 0]->setChecked(true);
    temperature_[doc_.runSettings.temperatureUnit == 1 ? 1 : 0]->setChecked(true);
    control_[doc_.runSettings.controlDisplay == 1 ? 1 : 0]->setChecked(true);
    ShowTargets();
    filling_ = false;
}

void CMyPropertySheet::ShowTargets() {
    const UserSettings& s = doc_.settings;
    const int values[] = {s.beforeMeal.low, s.beforeMeal.high, s.afterMeal.low,
                          s.afterMeal.high, s.overall.low,     s.overall.high};
    for (int i = 0; i < 6; ++i) {
        if (targets_[i]) {
            targets_[i]->setText(QString::fromStdString(TargetToText(values[i], s.glucoseUnit)));
        }
    }
}

void CMyPropertySheet::CommitTarget(int i) {
    UserSettings& s = doc_.settings;
    std::array<TargetRange, 3> ranges = {s.beforeMeal, s.afterMeal, s.overall};
    auto field = [&ranges](int k) -> int& {
        return k % 2 == 0 ? ranges[k / 2].low : ranges[k / 2].high;
    };
    const std::string typed = targets_[i]->text().toStdString();
    if (typed == TargetToText(field(i), s.glucoseUnit)) {
        return;  // passed through unchanged, even a stored value the meter cannot reach
    }
    const TargetEntry entry = ParseTarget(typed, s.glucoseUnit);
    QString problem = QString::fromStdString(entry.problem);
    const bool changed = problem.isEmpty() && entry.value != field(i);
    if (changed) {
        field(i) = entry.value;
        // The overall range follows the before-meal low and the after-meal high.
        if (i == 0) {
            ranges[2].low = entry.value;
        } else if (i == 3) {
            ranges[2].high = entry.value;
        }
        for (int r : {i / 2, 2}) {
            if (ranges[r].low > ranges[r].high) {
                problem = QString(
                              "Im Zielbereich „%1“ darf der untere Wert nicht über dem "
                              "oberen liegen.")
                              .arg(kTargetRows[r]);
                break;
            }
        }
    }
    if (problem.isEmpty() && changed) {
        s.beforeMeal = ranges[0];
        s.afterMeal = ranges[1];
        s.overall = ranges[2];
        MarkModified();
    }
    // A refused text gives way to the stored value before the message: the
    // message box takes the focus, and the edit must then hold nothing that
    // could be committed a second time.
    ShowTargets();
    if (!problem.isEmpty()) {
        prompter_.Message(this, problem, texts::kCaption);
    }
}

}  // namespace dorvel
