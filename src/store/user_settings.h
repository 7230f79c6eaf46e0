#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calendar.h"

namespace dorvel {

struct TargetRange {
    int low = 0;   // mg/dL
    int high = 0;  // mg/dL
    friend bool operator==(const TargetRange&, const TargetRange&) = default;
};

inline constexpr int kSlotCount = 8;

// The per-patient settings kept at the end of the profile file.
struct UserSettings {
    int dateFormat = 2;     // 0 "%Y-%m-%d", 1 "%m/%d/%Y", 2 "%d/%m/%Y"
    int timeFormat = 0;     // 0 12 hours, 1 24 hours
    int separateMeals = 1;  // 1 eight slots, 0 five combined slots
    std::array<TimeOfDay, kSlotCount> slotStart = {{{0, 0, 0},
                                                    {5, 0, 0},
                                                    {8, 0, 0},
                                                    {11, 0, 0},
                                                    {13, 0, 0},
                                                    {15, 0, 0},
                                                    {17, 0, 0},
                                                    {19, 0, 0}}};
    int glucoseUnit = 0;  // 0 mg/dL, 1 mmol/L
    TargetRange beforeMeal{65, 120};
    TargetRange afterMeal{100, 155};
    TargetRange overall{65, 155};

    friend bool operator==(const UserSettings&, const UserSettings&) = default;
};

// Settings that live only for one run of the program.
struct RunSettings {
    int temperatureUnit = 0;  // 0 Celsius, 1 Fahrenheit
    int controlDisplay = 0;   // 0 control readings listed, 1 hidden
};

// The patient's profile. Text fields hold Windows-1252 bytes exactly as stored.
struct PatientProfile {
    std::string name;
    int sex = 0;  // 0 male, 1 female
    Date birthDate{1900, 1, 1};
    std::string telephone;
    std::string mobile;
    std::string email;
    std::string fax;
    std::string address;
    std::string careHome;
    std::string remark;
    std::string room;
    std::string bed;
    std::string carer;
    std::string carerRemark;
    std::string physician;
    std::string hospital;
    std::string physicianTelephone;
    std::string physicianMobile;
    std::string physicianEmail;
    std::string physicianFax;
    int diabetesType = 0;  // 0 Type I, 1 Type II, 2 gestational, 3 other
    Date diagnosisDate{2002, 1, 1};
    std::string complications;
    std::string diagnosisComments;
    int treatDiet = 0;
    int treatSport = 0;
    int treatInsulinInjection = 0;
    int treatInsulinPump = 0;
    int treatOral = 0;
    int treatOther = 0;
    std::string treatmentComments;

    friend bool operator==(const PatientProfile&, const PatientProfile&) = default;
};

// The eight meal-time slots' names as reports show them (Windows-1252).
std::string_view MealSlotName(int slot);  // slot 1..8

}  // namespace dorvel
