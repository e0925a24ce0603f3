#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "emulator/optionlist.h"

// What an emulator program is and what it understands, asked of the program itself: a recent
// MAME prints every option it knows with -showconfig and its version with -version. A program
// that does not answer so (an old MAME, a stand-in, something that is no emulator) is not known,
// and the program treats it exactly as the old emulator it was made for.
namespace arcavio {

struct EmulatorKnowledge {
    std::string program; // the program file asked
    OptionList defaults; // its built-in options, -showconfig -noreadconfig
    // "0.251": the first word -version prints, asked on first use (Run never needs it, so a
    // Run pays for one question only); may be empty.
    const std::string& version() const;
    // How a message or a hint names it: "MAME 0.251".
    std::string name() const;

  private:
    mutable std::once_flag versionAsked_;
    mutable std::string version_;
};

inline constexpr std::chrono::milliseconds kEmulatorAnswerTime{5000};

// Asks the program for its options, no shell and no game, without a display or a sound device,
// for at most `timeout` and 1 MiB of output: null for an emulator Arcavio does not know (it failed to
// start, hung, flooded, crashed, ended with an error or printed no list that a recent MAME
// prints).
std::shared_ptr<const EmulatorKnowledge> askEmulator(const std::string& program,
                                                     std::chrono::milliseconds timeout = kEmulatorAnswerTime);

// askEmulator once per program file (its path, size and time of change) for the life of the
// program; safe to call from any thread.
std::shared_ptr<const EmulatorKnowledge> knownEmulator(const std::string& program);

// The options the emulator reads from its own ini files when started in `workingDirectory`
// with `arguments` (-showconfig without -noreadconfig); nothing when it does not answer.
std::optional<OptionList> emulatorSettings(const std::string& program, const std::string& workingDirectory,
                                           const std::vector<std::string>& arguments = {},
                                           std::chrono::milliseconds timeout = kEmulatorAnswerTime);

// The elements of one of MAME's path lists ("a;b;c"), with "$HOME" and other "$NAME"s
// taken from the environment as MAME takes them; empty elements left out.
std::vector<std::string> mamePathList(std::string_view value);

// The script that earlier workspaces put in front of the installed MAME:
// #!/bin/sh / exec 'MAME' -inipath . "$@". Its MAME, or empty when the file is anything else.
std::string wrappedMame(const std::string& program);
// The script itself, for `mame`; throws RefusedValueError for a path that cannot go in a line.
std::string mameWrapperScript(std::string_view mame);

} // namespace arcavio
