#pragma once
// The program's own texts at start-up: version, splash captions, the disclaimer, the
// second-copy question and the short error notice shown until the full error screen exists.

#include <string>

namespace tallex {

inline constexpr const char* kApplicationTitle = "TALLEX";
inline constexpr const char* kSplashCaption = " TALLEX  6.2 (May 2008)";
inline constexpr const char* kSplashProductName = "TALLEX 6.2";
inline constexpr const char* kDuplicateInstanceTitle = "APR duplicate instance.";

// major.minor.revision as plain digits.
std::string AppVersion();

// The disclaimer on the splash page: results are the examiner's to check and carry no warranty.
std::string DisclaimerText();

// Asked (Yes/No, critical icon: style 20) when another copy is already running; Yes starts a
// second copy.
std::string SecondInstanceQuestion();

// The critical notice (style 16) of an unexpected run-time error: the loan is discarded.
std::string ErrorNoticeText(int errorNumber, const std::string& description, const std::string& activeForm);

}  // namespace tallex
