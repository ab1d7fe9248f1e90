// The Chinese (PRC) formats built once: names, date and time patterns, separators, currency.
#include "platform/core/FormatSettings.h"

namespace {

TFormatSettings MakeChineseSettings()
{
    const std::array<String, 12> months = {
        QStringLiteral("一月"), QStringLiteral("二月"), QStringLiteral("三月"), QStringLiteral("四月"),
        QStringLiteral("五月"), QStringLiteral("六月"), QStringLiteral("七月"), QStringLiteral("八月"),
        QStringLiteral("九月"), QStringLiteral("十月"), QStringLiteral("十一月"), QStringLiteral("十二月")};
    const std::array<String, 7> days = {
        QStringLiteral("星期日"), QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"),
        QStringLiteral("星期四"), QStringLiteral("星期五"), QStringLiteral("星期六")};
    return TFormatSettings{
        .DateSeparator = u'-',
        .TimeSeparator = u':',
        .ShortDateFormat = QStringLiteral("yyyy-MM-dd"),
        .LongDateFormat = QStringLiteral("yyyy'年'M'月'd'日'"),
        .ShortTimeFormat = QStringLiteral("hh:mm"),
        .LongTimeFormat = QStringLiteral("hh:mm:ss"),
        .TimeAMString = QStringLiteral("上午"),
        .TimePMString = QStringLiteral("下午"),
        .ShortMonthNames = months,
        .LongMonthNames = months,
        .ShortDayNames = days,
        .LongDayNames = days,
        .DecimalSeparator = u'.',
        .ThousandSeparator = u',',
        .CurrencyString = QStringLiteral("￥"),
        .CurrencyFormat = 0,
        .NegCurrFormat = 2,
        .CurrencyDecimals = 2,
        .ListSeparator = u',',
        .TwoDigitYearCenturyWindow = 50,
    };
}

}  // namespace

const TFormatSettings& FormatSettings()
{
    static const TFormatSettings settings = MakeChineseSettings();
    return settings;
}
