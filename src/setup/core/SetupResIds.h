#pragma once
// String-table ids of the installer's texts.

namespace vyn {

inline constexpr int kIdsInfCannotOpen = 27100;
inline constexpr int kIdsInfTooLarge = 27101;
inline constexpr int kIdsInfUnclosedSection = 27102;
inline constexpr int kIdsInfUnclosedQuote = 27103;
inline constexpr int kIdsInfOutsideSection = 27104;
inline constexpr int kIdsInfLineTooLong = 27105;
inline constexpr int kIdsInfTextAfterSection = 27106;
inline constexpr int kIdsInfUndefinedString = 27107;
inline constexpr int kIdsInfDamagedLine = 27108;

inline constexpr int kIdsUninstalled = 27120;
inline constexpr int kIdsCaptionUninstall = 27121;
inline constexpr int kIdsInstalled = 27122;
inline constexpr int kIdsCaptionInstall = 27123;
inline constexpr int kIdsCannotLocateInf = 27124;
inline constexpr int kIdsCaptionStop = 27125;
inline constexpr int kIdsTooManyInf = 27126;
inline constexpr int kIdsNothingToDo = 27127;
inline constexpr int kIdsCaptionProblem = 27128;

inline constexpr int kIdsInfMissing = 27130;
inline constexpr int kIdsNoFullPath = 27131;
inline constexpr int kIdsCaptionWarning = 27132;
inline constexpr int kIdsMenuEmpty = 27133;
inline constexpr int kIdsMenuDot = 27134;
inline constexpr int kIdsMenuSlash = 27135;
inline constexpr int kIdsSetupFor = 27136;
inline constexpr int kIdsChooseFolder = 27137;

inline constexpr int kIdsFileTypeUsed = 27140;
inline constexpr int kIdsReallyRemove = 27141;
inline constexpr int kIdsCannotFindRecords = 27142;
inline constexpr int kIdsFileChanged = 27143;
inline constexpr int kIdsCannotCopy = 27144;
inline constexpr int kIdsCannotSaveRecords = 27145;
inline constexpr int kIdsRecordFileNotCopied = 27146;
inline constexpr int kIdsBadDestination = 27147;
inline constexpr int kIdsNoFilesToCopy = 27148;

}  // namespace vyn
