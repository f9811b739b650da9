#pragma once
// Whether a job's statement is up to date, and computing it first: shared by the main menu's
// "Εκτύπωση" and the document frame's printing, which must agree on both.

#include <QString>
#include <functional>
#include <string>

#include "fee/app/AppContext.h"

class QWidget;

namespace fee::app {

// The statement on disk of the job no longer matches the job: an input changed since this
// session's last computation of it, or the last computation left it incomplete; for a job
// not computed in this session, an input was written after the statement.
bool statementStale(const AppContext& ctx, const std::string& job);

// Assembles the job's statement and records it as the session's last; when it did not come
// out whole, tells the user why over parent. True for a whole statement.
bool computeStatement(AppContext& ctx, const std::string& job, QWidget* parent);

enum class StaleAnswer { ComputeFirst, AsItIs, Cancel };

// Asks over parent whether to compute first (box "staleQuestion": «Ναι», «Όχι», «Άκυρο»),
// without blocking the caller; then runs with the answer. Escape or closing the box cancels.
void askComputeFirst(QWidget* parent, const QString& question,
                     std::function<void(StaleAnswer)> then);

}  // namespace fee::app
