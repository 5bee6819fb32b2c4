// Internal: the rows of an object in a document-manager table, found in constant time.
//
// The table is the host's. Between two library calls the host may grow it, shrink it,
// sort it or re-point its rows, and so may a host call the library makes. The index
// kept for a model is therefore trusted only for the table it was built from, and only
// while that table's modification count stands where it stood when the index was built
// or last confirmed; otherwise a lookup rebuilds it in one pass over the table. It maps
// every object to its first row and chains the further rows of the same object, so a
// lookup answers exactly the rows a scan from the start answers, in the same order.
#ifndef LUM_DOC_MAN_ROWS_H
#define LUM_DOC_MAN_ROWS_H

#include "LumTable/TevDocManObject.h"
#include "TevArray.h"

#include <cstdint>
#include <utility>

class TevDerivedDocumentsModel;
class TevDerivedObject;

namespace lumdd {

using RowTable = TevArray<TevDocManObject>;

// Erases the rows from `from` on for which `leaves(row)` holds, in one pass: every row
// that stays moves down once, past the leaving rows before it, which leaves the rows in
// the order erasing the leaving ones one by one gives. A leaving row is marked removed
// first, as a row erased behind the length is left.
template <class Leaves>
void eraseRowsIf(RowTable& table, int from, Leaves leaves) {
    int kept = from;
    for (int index = from; index < table.length(); ++index) {
        TevDocManObject& row = table[index];
        if (leaves(row)) {
            row.m_removed = true;
            continue;
        }
        if (kept != index) {
            table[kept] = std::move(row);
        }
        ++kept;
    }
    table.setLength(kept);
}

// Whether a lookup on a stale index builds it anew or scans. A scan costs what one
// rebuild costs less its allocations, so callers that are about to shift rows (which
// leaves the index stale again at once) scan.
enum class StaleIndex { kRebuild, kScan };

// The first row of `obj` in `table`, or -1. `model` is the model whose index serves
// the lookup; null scans.
int firstRowOf(const TevDerivedDocumentsModel* model, const RowTable& table,
               const TevDerivedObject* obj, StaleIndex stale = StaleIndex::kRebuild);

// The next row after `row` whose object is that of `row`, or -1.
// REQUIRES: `row` was answered by firstRowOf or nextRowOf for `table`, and the table
// did not change since.
int nextRowOf(const TevDerivedDocumentsModel* model, const RowTable& table, int row);

// Tells the index that the accesses made to `table` since its modification count was
// `before` left the object of every row as it was, so that it stays trusted.
void rowObjectsKept(const TevDerivedDocumentsModel* model, const RowTable& table,
                    std::uint64_t before);

// Takes every row of the objects in `leaving` out of `table` in one pass, as each
// object's removeDocManInformations would: marked while the manager is open, erased
// otherwise, and the objects whose rows went forget that they are in the table. The
// index is built anew afterwards, so that the objects' own removals find nothing fast.
void takeOutRows(const TevDerivedDocumentsModel* model, RowTable& table,
                 const TevArray<TevDerivedObject*>& leaving, bool managerOpen);

// Builds the index of `model` from `table` now.
void indexRows(const TevDerivedDocumentsModel* model, const RowTable& table);

// Drops the index of `model`: on attaching or detaching a table, and when it goes.
void forgetRows(const TevDerivedDocumentsModel* model);

} // namespace lumdd

#endif // LUM_DOC_MAN_ROWS_H
