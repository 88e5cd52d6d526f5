// The positions of the 19 parameters in the shared value array.
#pragma once

enum ParameterIndex : int {
    kCross1 = 0,
    kCross2,
    kPFilter,
    kSolo1,
    kSolo2,
    kSolo3,
    kBalance1,
    kBalance2,
    kBalance3,
    kGain1,
    kGain2,
    kGain3,
    kType1,
    kType2,
    kType3,
    kLevel1,
    kLevel2,
    kLevel3,
    kMaster,
    kNumParameters
};
