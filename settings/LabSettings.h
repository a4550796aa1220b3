#pragma once

#include "ExamPorts.h"
#include "OptionStates.h"
#include "Registry.h"

#include <array>
#include <optional>
#include <string>

// A lab's settings, made by its administrator machine-wide, where pupils can't
// change them: HKEY_LOCAL_MACHINE\SOFTWARE\Nerbaly\Kwizmar on Windows, the
// same section of the Setup file elsewhere (FileRegistry.h). Values:
//   StrictExam   (32-bit integer) non-zero: no Ctrl + mouse reveal of answers
//   ExamMinutes  (32-bit integer) 5 … 60: the exam time, fixed; 0: not fixed
//   SysDir       (text) the folder of the results log, before the Setup key's
//   Scroll, PZadan, Statystyki, Odp, DesktopEnabled, TaskBarEnabled,
//   ShuffleQuestions, ShuffleAnswers
//                (32-bit integer) non-zero on, 0 off: the option of that name,
//                fixed for every user of the computer
// A missing key or value, or one of another type, leaves the program's own
// behaviour: a lab setting never keeps the program from starting.

namespace kwizmar {

// Never throws.
TLabRules ReadLabRules(IRegistry& registry) noexcept;

// The options the lab fixes, by TOption; nothing for one it leaves to the user.
using TLabOptions = std::array<std::optional<bool>, kOptionCount>;
TLabOptions ReadLabOptions(IRegistry& registry) noexcept;

// The results folder the lab names; empty when it names none.
std::string LabResultsFolder(IRegistry& registry) noexcept;

} // namespace kwizmar
