#pragma once
// The Add QSO command: cut the log at its end-of-log marker, then keep
// opening the entry dialog; every Add appends one "QSO:" line, advances the
// sent serial number and empties the received fields, until Close.

#include "log/TextHolder.h"
#include "qso/QsoRecord.h"

// What the command needs of the entry dialog.
class QsoEntryDialog {
public:
    virtual ~QsoEntryDialog() = default;
    virtual QsoRecord& Record() = 0;     // the ten values, kept between passes
    virtual int Run() = 0;               // 1 OK, 2 Cancel, -1 the dialog could not be shown
    virtual void ReportLogFull() = 0;    // tell the operator the log has no room for the contact
};

inline constexpr int kQsoDialogOk = 1;
inline constexpr int kQsoDialogCancel = 2;
inline constexpr int kQsoDialogFailed = -1;

// The values every command starts from: no frequency or mode, date
// 2004-04-10, time 2200, sent serial 001, every other field empty.
QsoRecord StartingQsoValues();

// True when `lineBytes` more can go after `textBytes` and the log can still
// take its end-of-log line and stay within the size a log may be opened at.
bool LogHasRoomFor(std::size_t textBytes, std::size_t lineBytes);

void RunAddQsoCommand(TextHolder& log, QsoEntryDialog& dialog);
