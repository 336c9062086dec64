#pragma once

#include "slips/SlipSheet.h"

#include <QString>

#include <memory>

// The program's end of the slips module's contract (slips/SlipSheet.h): the module loaded from the package's
// private library folder beside the program's own, and its two entry points found by name.
class SlipsLoader
{
public:
    // Null, with the reason in `error`, when the module cannot be loaded.
    static std::unique_ptr<SlipsLoader> load(QString& error);

    // The application object that drawing needs; it takes the place of the program's own.
    std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) const;
    std::unique_ptr<SlipSheet> makeSheet(QIODevice& device, const SlipStyle& style) const;

private:
    MakeSlipsApplication makeApplication_ = nullptr;
    MakeSlipSheet makeSheet_ = nullptr;
};
