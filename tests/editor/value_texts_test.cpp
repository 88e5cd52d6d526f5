#include "editor/value_texts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

std::string text(ValueTextConverter converter, float value) {
    char buffer[256];
    buffer[0] = '\0';
    converter(value, buffer);
    return buffer;
}

}  // namespace

TEST(ValueTexts, ConvertersGiveTheDisplayTexts) {
    struct Row {
        ValueTextConverter converter;
        float value;
        const char* expected;
    };
    const Row rows[] = {
        {freqToText, 0.0f, "20.0  Hz"},       {freqToText, 0.5f, "632.5  Hz"},   {freqToText, 1.0f, "20000.0  Hz"},
        {onOffToText, 0.5f, "Off"},           {onOffToText, 0.5001f, "On"},      {balanceToText, 0.0f, "64L"},
        {balanceToText, 0.25f, "32L"},        {balanceToText, 0.5f, "0L"},       {balanceToText, 0.504f, "0R"},
        {balanceToText, 0.75f, "32R"},        {balanceToText, 0.9999f, "63R"},   {balanceToText, 1.0f, "64R"},
        {gainToText, 0.0f, "-20.0  dB"},      {gainToText, 0.25f, "0.0  dB"},    {gainToText, 0.5f, "20.0  dB"},
        {gainToText, 1.0f, "60.0  dB"},       {typeToText, 0.5f, "HardClip"},    {typeToText, 0.9998f, "Sinus"},
        {typeToText, 1.0f, "Crackler"},       {typeToText, 0.0f, "Saturation1"}, {levelToText, 1.0f, "0.0  dB"},
        {levelToText, 0.5f, "-21.4  dB"},     {levelToText, 0.25f, "-34.4  dB"}, {levelToText, 0.001f, "-88.8  dB"},
        {levelToText, 0.0f, "-oo  dB"},
        // printf's sign of zero: a tiny negative number reads -0.0.
        {gainToText, 0.2497f, "-0.0  dB"},    {levelToText, 0.9995f, "-0.0  dB"},
        // The footer's: Quality as its nearest setting, Mix in percent.
        {qualityToText, 0.0f, "Normal"},      {qualityToText, 2.4f, "4x"},       {qualityToText, 9.0f, "8x"},
        {qualityToText, NAN, "Normal"},       {mixToText, 0.75f, "75.0  %"},     {mixToText, 0.0f, "0.0  %"},
    };
    for (const Row& row : rows) EXPECT_EQ(text(row.converter, row.value), row.expected) << row.value;
}

TEST(ValueTexts, EveryParameterHasItsConverter) {
    EXPECT_EQ(converterForParameter(0), freqToText);
    EXPECT_EQ(converterForParameter(5), onOffToText);
    EXPECT_EQ(converterForParameter(8), balanceToText);
    EXPECT_EQ(converterForParameter(9), gainToText);
    EXPECT_EQ(converterForParameter(14), typeToText);
    EXPECT_EQ(converterForParameter(18), levelToText);
    EXPECT_EQ(converterForParameter(19), qualityToText);
    EXPECT_EQ(converterForParameter(20), mixToText);
    EXPECT_EQ(converterForParameter(21), onOffToText);
    EXPECT_EQ(converterForParameter(22), nullptr);
    EXPECT_EQ(converterForParameter(-1), nullptr);
}

TEST(ValueTexts, BadValuesStillGiveAText) {
    EXPECT_EQ(text(balanceToText, NAN), "0L");
    EXPECT_FALSE(text(levelToText, -1.0f).empty());
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_EQ(text(freqToText, 0.5f), "632.5  Hz");
        std::setlocale(LC_NUMERIC, "C");
    }
}
