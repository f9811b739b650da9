#pragma once
// The fee statement: every category priced in a fixed order into its fragment, then the
// totals (synola.dat), the header (arxi1.dat) and the signature block (telos.dat).

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fee/store/DataStore.h"

namespace fee {

// The nine kinds of work, in the order the statement prices them.
enum class CategoryId { Analog, Taxi, Asti, Polygon, Rymotom, Trig, Them, Xilosta, Oix };

// The twelve files of the statement in document order.
extern const std::array<std::string_view, 12> kFragmentOrder;

enum class AssemblyResult {
    Ok,
    NoJob,  // temp.dat missing, empty, or naming a folder that does not exist: nothing written
};

// Assembles the statement of the job temp.dat names.
AssemblyResult assembleStatement(DataStore& store);

struct StatementText {
    std::string text;                  // UTF-8, every line ended by CR LF
    std::vector<std::string> missing;  // fragment files that were not there (read as empty)
};
// The fragments of a job joined in document order.
StatementText loadStatement(const DataStore& store, std::string_view jobPath);

}  // namespace fee
