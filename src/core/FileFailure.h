#pragma once
// What a failed read or write of a file says: the cause in words from the
// operating system's error number, the number kept for whoever helps. Every
// message about a file the program could not write or read is made here, so a
// full disk says "磁盘已满" wherever it happens.

#include <QString>

class TFileFailure {
public:
    // "磁盘已满，请腾出空间后再试" for ENOSPC; the system's own text for a number without words of ours.
    static QString Words(int errorNumber);
    // The words with the number: "磁盘已满，请腾出空间后再试（错误号 28）".
    static QString Cause(int errorNumber);
    // "<what>：<cause>", the whole message.
    static QString Text(const QString &what, int errorNumber);
};
