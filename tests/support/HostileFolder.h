#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder anyone may write to (mode 1777) where another user has planted files for the running user:
//   vrn.ini          their symbolic link to victim
//   victim           the running user's own file, "TOOLTIPS=no\n", mode 0600
//   planted/vrn.ini  their file "TOOLTIPS=no\n", mode 0666, in a folder of mode 1777
//   planted/out.csv  their file "planted\n", mode 0666
//   planted/pipe.csv their named pipe, mode 0666, so that a test may read what would reach them
//   planted/link.csv their symbolic link to pipe.csv
// and beside each vrn.ini a readme.txt: at the top their symbolic link to victim, in planted their file
// "planted\n", mode 0666.
// Root makes it in a folder of the test's own and gives the planted files to nobody. Any other user cannot
// give files away: scripts/test-as-user.sh makes the folder as root, the planter, before dropping to the
// user, and names it in VARNEL_HOSTILE_FOLDER.
class HostileFolder
{
public:
    HostileFolder();

    // Why the files cannot be planted for this user at all (not root, and not run by that script): the
    // test skips then. Empty otherwise.
    QString unavailable() const { return unavailable_; }
    // Empty when the folder is ready; else why it is not.
    QString error() const { return error_; }
    QString path(const QString& name = {}) const;

private:
    QTemporaryDir own_;
    QString root_;
    QString unavailable_;
    QString error_;
};
