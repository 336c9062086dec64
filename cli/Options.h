#pragma once

#include "cli/RosterOptions.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

inline constexpr quint64 MaxCount = 1'000'000'000'000;
inline constexpr quint64 MaxLength = 1024;
inline constexpr quint64 MaxDigits = 18;
// What --digits can show: eighteen nines.
inline constexpr quint64 MaxStart = 999'999'999'999'999'999;

// Every option of the command line, with its names, help line and value name.
struct Options
{
    Options();

    // In the order --help lists them.
    QList<QCommandLineOption> all() const;

    QCommandLineOption count;
    QCommandLineOption length;
    QCommandLineOption style;
    QCommandLineOption letterCase;
    QCommandLineOption wordList;
    QCommandLineOption separator;
    QCommandLineOption capitalize;
    QCommandLineOption number;
    QCommandLineOption rules;
    QCommandLineOption usernames;
    QCommandLineOption prefix;
    QCommandLineOption digits;
    QCommandLineOption start;
    QCommandLineOption names;
    QCommandLineOption format;
    QCommandLineOption output;
    QCommandLineOption force;
    QCommandLineOption systemAccounts;
    QCommandLineOption hash;
    QCommandLineOption hashCost;
    QCommandLineOption plain;
    QCommandLineOption slips;
    QCommandLineOption title;
    QCommandLineOption paper;
    QCommandLineOption exclude;
    QCommandLineOption excludeSimilar;
    QCommandLineOption everyClass;
    QCommandLineOption entropy;
    QCommandLineOption help;
    QCommandLineOption version;
    // --roster and the options of class lists, their formats and slips.
    RosterOptions roster;
};

// What --help says the program does, before the options.
QString programDescription();
