#pragma once
// The one fixed set of locale formats the program runs with: Chinese (PRC).
#include "platform/core/String.h"

#include <array>

struct TFormatSettings {
    Char DateSeparator;
    Char TimeSeparator;
    String ShortDateFormat;
    String LongDateFormat;
    String ShortTimeFormat;
    String LongTimeFormat;
    String TimeAMString;
    String TimePMString;
    std::array<String, 12> ShortMonthNames;
    std::array<String, 12> LongMonthNames;
    std::array<String, 7> ShortDayNames;  // Sunday first
    std::array<String, 7> LongDayNames;   // Sunday first
    Char DecimalSeparator;
    Char ThousandSeparator;
    String CurrencyString;
    unsigned char CurrencyFormat;     // 0 = "￥1", the platform's positive currency layouts
    unsigned char NegCurrFormat;      // 2 = "￥-1"
    unsigned char CurrencyDecimals;
    Char ListSeparator;
    int TwoDigitYearCenturyWindow;
};

const TFormatSettings& FormatSettings();
