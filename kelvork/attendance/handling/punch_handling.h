#pragma once
// Applying the proposed handling of one listed punch: the punch grid's save command calls this
// once per selected row after the operator confirmed it.
//
//   PunchHandlingResult r = ApplyPunchHandling(db, row, texts, operatorName, whysText);
//   if (r.outcome == PunchHandlingOutcome::Deleted) removeRowFromGrid(row);
//   else if (r.outcome == PunchHandlingOutcome::Failed) report(r.message);
//
// The edit-log row and the change of the punch are made in one transaction: either both are in
// the database or neither is. The working-table row is changed only once they are committed.

#include "database.h"
#include "working_tables.h"

#include <QString>

namespace kelvork::handling {

// Reason written into the edit log for every change made here (key RecordEditWhys3 of section
// "Resource"); the caller passes the language file's text, this is the built-in one.
inline const QString kDefaultHandlingWhys = QStringLiteral("考勤数据审核");

enum class PunchHandlingOutcome {
    NoHandling,  // the row proposes no handling (empty, or a text that names none)
    Deleted,      // the punch is deleted and logged; the caller removes the row from its table
    Retyped,      // the punch has its new type, confirmed, and is logged; the row shows it
    PunchGone,    // the punch is no longer in the database: nothing written, the row unchanged
    Failed,       // a statement failed: everything rolled back, the row unchanged; message says why
};

struct PunchHandlingResult {
    PunchHandlingOutcome outcome = PunchHandlingOutcome::NoHandling;
    QString message;  // why it failed, or which punch was gone; empty otherwise
};

// Applies `row`'s Disposeplan to its punch (Userid = Ucode, Checktime = Checktime):
// - the DisposeRecord text: logs the punch (OPFlag 3, its stored type and terminal) and deletes it;
// - a CheckType1 ... CheckType6 text: logs the punch (OPFlag 2, its type before) and stores the
//   type "I", "O", "i", "o", "0", "1" with Checked set; the row then shows that text as Utypename,
//   Checked, an empty Disposeplan and RecordErrorType1 as Errorshow;
// - anything else: nothing.
// `operatorName` is the logged-in operator (OPname); `whys` the edit-log reason text.
PunchHandlingResult ApplyPunchHandling(Database& db, engine::MemRecordRow& row,
                                       const engine::CalcTexts& texts, const QString& operatorName,
                                       const QString& whys = kDefaultHandlingWhys);

} // namespace kelvork::handling
