#pragma once
// The fee statement: every category priced in a fixed order into its fragment, then the
// totals (synola.dat), the header (arxi1.dat) and the signature block (telos.dat).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fee/store/Categories.h"
#include "fee/store/DataStore.h"

namespace fee {

// The twelve files of the statement in document order.
extern const std::array<std::string_view, 12> kFragmentOrder;

struct AssemblyResult {
    enum Status {
        Ok,
        NoJob,        // temp.dat names no job folder inside the data folder: nothing written
        BadLambda,    // the job's l.dat is no usable coefficient: nothing written
        WriteFailed,  // some fragments could not be written: the statement is not whole
    };
    Status status = Ok;
    std::vector<std::string> failedFiles;  // fragment names, in the order they were written
    std::string lambdaProblem;             // what is wrong with l.dat, in Greek

    bool operator==(Status s) const { return status == s; }
};

// What the user is told when the assembly did not end with a whole statement (Greek); empty
// for Ok. jobPath names the job whose files are meant.
std::string assemblyMessage(const AssemblyResult& result, std::string_view jobPath);

// Assembles the statement of the job temp.dat names. Every fragment is written even after
// one has failed, so the failure report names them all.
AssemblyResult assembleStatement(DataStore& store);
// The same for a job named by its folder, current or not (NoJob when it is no job folder).
AssemblyResult assembleStatement(DataStore& store, std::string_view jobPath);

struct StatementText {
    std::string text;                  // UTF-8, every line ended by CR LF
    std::vector<std::string> missing;  // fragment files that were not there (read as empty)
};
// What the statement of a job is computed from (particulars, λ, plan flag, scale and every
// input file), reduced to one number: a statement computed from other inputs is stale.
std::uint64_t statementInputs(const DataStore& store, std::string_view jobPath);
// Whether an input of the job's statement was written after the statement on disk, to the
// second: what tells a stale statement from a fresh one across sessions.
bool writtenAfterStatement(const DataStore& store, std::string_view jobPath);

// The last statement assembled in this session: for which job, from which inputs, and whether
// every fragment was written.
struct StatementRecord {
    std::string job;
    std::uint64_t inputs = 0;
    bool whole = false;
};

// The fragments of a job joined in document order.
StatementText loadStatement(const DataStore& store, std::string_view jobPath);

}  // namespace fee
