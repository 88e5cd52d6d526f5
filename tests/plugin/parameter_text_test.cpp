#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "host_recorder.h"
#include "vst2/distortion_effect.h"
#include "core/number_text.h"
#include "core/parameter_texts.h"

namespace {

class Texts : public ::testing::Test {
protected:
    DistortionEffect effect{recordingHost};
    std::string display(int index, float value) {
        effect.setParameter(index, value);
        char text[64];
        std::memset(text, 'x', sizeof text);
        effect.getParameterDisplay(index, text);
        return text;
    }
    std::string name(int index) {
        char text[64] = "untouched";
        effect.getParameterName(index, text);
        return text;
    }
    std::string label(int index) {
        char text[64] = "untouched";
        effect.getParameterLabel(index, text);
        return text;
    }
};

std::string fixedWidth(float value) {
    char text[32];
    writeFixedWidthNumber(value, text);
    return text;
}

}  // namespace

TEST_F(Texts, NamesAndLabels) {
    const char* names[] = {"Cross1", "Cross2", "PFilter", "Solo1", "Solo2", "Solo3", "Balance1",
                           "Balance2", "Balance3", "Gain1", "Gain2", "Gain3", "Type1", "Type2",
                           "Type3", "Level1", "Level2", "Level3", "Master"};
    const char* labels[] = {"Hz", "Hz", "", "", "", "", "", "", "", "dB", "dB", "dB", "", "", "", "dB", "dB", "dB", "dB"};
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(name(i), names[i]);
        EXPECT_EQ(label(i), labels[i]);
    }
    EXPECT_EQ(name(19), "untouched");
    EXPECT_EQ(label(-1), "untouched");
    char text[16] = "untouched";
    effect.getParameterDisplay(19, text);
    EXPECT_STREQ(text, "untouched");
}

TEST_F(Texts, WorkedDisplayTable) {
    struct Row {
        float v;
        const char *cross, *balance, *gain, *level;
    };
    const Row rows[] = {{0.0f, "20.0", "-1.00", "-20.0000", "-oo"},
                        {0.25f, "112.5", "-0.50", "0.000000", "-34.4270"},
                        {0.5f, "632.5", "0.00", "20.00000", "-21.4256"},
                        {0.75f, "3556.6", "0.50", "40.00000", "-10.4147"},
                        {1.0f, "20000.0", "1.00", "60.00000", "0.000000"}};
    for (const Row& r : rows) {
        effect.setParameter(0, 0.0f);  // keep the crossover order from moving Cross2
        EXPECT_EQ(display(1, r.v), r.cross) << r.v;
        EXPECT_EQ(display(7, r.v), r.balance) << r.v;
        EXPECT_EQ(display(10, r.v), r.gain) << r.v;
        EXPECT_EQ(display(16, r.v), r.level) << r.v;
        EXPECT_EQ(display(18, r.v), r.level) << r.v;
    }
}

TEST_F(Texts, SwitchesAndTypes) {
    EXPECT_EQ(display(2, 0.5f), "Off");
    EXPECT_EQ(display(2, 0.51f), "On");
    EXPECT_EQ(display(4, 1.0f), "On");
    EXPECT_EQ(display(12, 0.0f), "Saturation1");
    EXPECT_EQ(display(12, 0.1666f), "Saturation2");
    EXPECT_EQ(display(13, 0.4f), "Saturation3");
    EXPECT_EQ(display(13, 0.5f), "HardClip");
    EXPECT_EQ(display(14, 0.7f), "Puncher");
    EXPECT_EQ(display(14, 0.9998f), "Sinus");
    EXPECT_EQ(display(14, 0.9999f), "Crackler");
    EXPECT_EQ(display(14, 1.0f), "Crackler");
    EXPECT_EQ(display(15, -0.01f), "-oo");
}

TEST(NumberText, FixedWidthExamples) {
    EXPECT_EQ(fixedWidth(0.0f), "0.000000");
    EXPECT_EQ(fixedWidth(-20.0f), "-20.0000");
    EXPECT_EQ(fixedWidth(60.0f), "60.00000");
    EXPECT_EQ(fixedWidth(-21.425651f), "-21.4256");
    EXPECT_EQ(fixedWidth(-0.5f), "-0.50000");
    EXPECT_EQ(fixedWidth(-900.5f), "-900.500");
    EXPECT_EQ(fixedWidth(INFINITY), "oo");
    EXPECT_EQ(fixedWidth(NAN), "nan");
    EXPECT_EQ(fixedWidth(1e30f).size(), 8u);  // a number that does not fit still fills the field only
}

TEST_F(Texts, NumbersIgnoreTheHostsDecimalComma) {
    const char* comma = nullptr;
    for (const char* locale : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, locale)) {
            comma = locale;
            break;
        }
    }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the locale really is active
    EXPECT_EQ(display(0, 0.5f), "632.5");
    EXPECT_EQ(display(8, 0.25f), "-0.50");
    EXPECT_EQ(display(16, 0.5f), "-21.4256");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(HostBaseTexts, NumberHelpers) {
    DistortionEffect effect(recordingHost);
    char text[32];
    effect.long2string(1234, text);
    EXPECT_STREQ(text, "   1234");
    effect.long2string(100000000, text);
    EXPECT_STREQ(text, "Huge!");
    effect.Hz2string(0.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.dB2string(1.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.dB2string(0.0f, text);
    EXPECT_STREQ(text, "-oo");
}

// A host may store any float; the display text must still fit a small host
// buffer (ASan checks the exact allocation), and in-range texts are unchanged.
TEST_F(Texts, DisplayTextsFitTheHostBufferForAnyStoredValue) {
    const float values[] = {0.0f, 1.0f, 1.5f, 2.0f, 20.0f, 84.0f, 1e10f, 3.4e38f, -3.4e38f, -84.0f, -1.0f, 1e-40f,
                            -1e-40f, NAN, -NAN, INFINITY, -INFINITY};
    for (int index = 0; index < kNumParameters; ++index) {
        for (float v : values) {
            effect.setParameter(index, v);
            char* text = new char[kHostTextSize];
            effect.getParameterDisplay(index, text);
            EXPECT_LT(std::strlen(text), static_cast<size_t>(kHostTextSize)) << index << " " << v;
            delete[] text;
        }
    }
    EXPECT_EQ(display(kCross1, 1.5f), "632455.5");
    EXPECT_EQ(display(kCross2, 20.0f), "2.0e+61");
    EXPECT_EQ(display(kBalance1, 1e10f), "19999999999.00");
    EXPECT_EQ(display(kBalance1, 1e20f), "2.0e+20");
    EXPECT_EQ(display(kBalance1, 0.4999999f), "-0.00");
    EXPECT_EQ(display(kCross1, 1.0f), "20000.0");
}

// Formats that show a value in one field join the effect's display text and
// label; the join must hold for any stored value and leave nothing out.
TEST_F(Texts, OneFieldTextIsTheDisplayAndLabelOfTheEffect) {
    const float values[] = {0.0f, 0.37f, 1.0f, -3e38f, 3e38f, NAN};
    for (int index = 0; index < kNumParameters; ++index) {
        for (float value : values) {
            const std::string expected = label(index).empty() ? display(index, value)
                                                              : display(index, value) + " " + label(index);
            char text[kParameterValueTextSize];
            writeParameterValueText(index, effect.getParameter(index), text);
            EXPECT_EQ(text, expected) << index << " " << value;
        }
    }
    EXPECT_EQ(std::string(parameterName(kMaster)), name(kMaster));
}
