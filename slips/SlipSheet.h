#pragma once

#include <QByteArrayView>
#include <QString>

class QCoreApplication;
class QIODevice;

enum class Paper { A4, Letter };

// How the slips look beyond the pairs they hold.
struct SlipStyle
{
    // Above every slip's pair; none when empty.
    QString title;
    Paper paper = Paper::A4;
    // A password too long for one line is broken after this text where it can be (a passphrase's separator,
    // so that its words stay whole); empty: anywhere.
    QString separator;
    // Under every slip's password; none when empty.
    QString note;
    // 10, 6 or 4: fewer slips a page are larger.
    int perPage = 10;
};

// Letter for the territories that print on it, A4 elsewhere: the territory of the locale that sets the
// paper (LC_ALL, then LC_PAPER, then LANG).
Paper paperOfLocale();

// A PDF of credential slips, one slip a pair, 10, 6 or 4 a page, written to a device as each page is made.
class SlipSheet
{
public:
    virtual ~SlipSheet() = default;

    // False when a text of the slip does not fit on it even at the smallest print kept legible, or the title
    // or the note does not: nothing of that slip is drawn. Whether the device took what was written is the
    // device's to tell. The person's name (UTF-8) goes above the username; none when empty.
    virtual bool add(QByteArrayView username, QByteArrayView password, QByteArrayView person) = 0;
    // Ends the document; false when it could not be ended.
    virtual bool finish() = 0;
    // Which text does not fit: empty while every one has. A title that cannot fit is known from the start.
    virtual QString errorString() const = 0;
};

// The slips module, loaded only by the runs that make slips: its Qt GUI libraries would otherwise be
// loaded by every run. Both functions are exported unmangled from it under these names.
inline constexpr char SlipsApplicationSymbol[] = "varnel_slips_application";
inline constexpr char SlipsSheetSymbol[] = "varnel_slips_sheet";
// The application object for drawing (on the offscreen platform, so that no display is needed).
using MakeSlipsApplication = QCoreApplication* (*)(int& argc, char** argv);
// A sheet writing to an open device; the device must outlive it.
using MakeSlipSheet = SlipSheet* (*)(QIODevice& device, const SlipStyle& style);
