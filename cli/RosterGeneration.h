#pragma once

#include "cli/Accounts.h"

#include <optional>

class AnyPasswordMaker;
struct CliOptions;

// The accounts of a class list: the roster read whole, every person given a login, then a password each, in
// the roster's order, by the run's maker. The accounts are committed only when every person has one; what failed, or
// nothing (also when the reader of standard output went away).
std::optional<Failure> generateFromRoster(const CliOptions& options, Accounts& accounts, AnyPasswordMaker& passwords);
