#pragma once
// The four-letter tags of plate files, method blocks and the method library, by number.
// The numbers are what readers dispatch on and what the writer is given; their order is
// fixed by the files already written.

namespace vyn {

enum TagNumber : int {
    kTagQEND = 0,
    kTagMNAM = 1,
    kTagMNAD = 2,
    kTagDSEP = 3,
    kTagDESC = 4,
    kTagBLNK = 5,
    kTagFDEF = 6,
    kTagVALI = 7,
    kTagCALI = 8,
    kTagCALJ = 9,
    kTagQUAL = 10,
    kTagQUAN = 11,
    kTagSMGL = 12,
    kTagSMST = 13,
    kTagSMQF = 14,
    kTagSMQS = 15,
    kTagSMNF = 16,
    kTagSMNS = 17,
    kTagDMEA = 18,
    kTagFMTM = 19,
    kTagFMTT = 20,
    kTagFMTR = 21,
    kTagUNIT = 22,
    kTagWIDT = 23,
    kTagGRAF = 24,
    kTagDA96 = 25,
    kTagDM96 = 26,
    kTagDT96 = 27,
    kTagTMEA = 28,
    kTagSMPL = 29,
    kTagREPO = 30,
    kTagCount = 31
};

// The longest physical line a tagged file may hold; a longer one makes the file damaged.
inline constexpr int kMaxTaggedLine = 255;

// The four letters of a tag number; "" for a number outside 0..30.
const char* GetTagName(int tag);

// The tag number of the four characters at text (which must hold at least four), or -1.
int FindTag(const char* text);

}  // namespace vyn
