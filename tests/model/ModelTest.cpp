// The registry of documents: registration, look-ups, removal, renames and the groups of
// duplicates.
// Walks over the registry: lists of one kind, resets, update checks, missing files and
// drawing numbers. The registry is visited in the order of its hash table, which is
// part of the behaviour hosts see, so the expectations spell that order out.
#include "FakeHost.h"
#include "TevDerivedDwgNo.h"

#include <algorithm>

namespace {

using namespace lumtest;
using Objects = std::vector<TevDerivedObject*>;

// The calls, joined, a disposal as "~" and the name of what went.
std::string brief(const Texts& calls) {
    std::string out;
    for (const std::string& call : calls) {
        const std::size_t open = call.find('(');
        out += (out.empty() ? "" : " ") + (call.rfind("dispose", 0) == 0
                                               ? "~" + call.substr(open + 1, call.size() - open - 2)
                                               : call);
    }
    return out;
}

// The objects of `doc`, after `extra` detail objects made by the host were added to it.
Objects objectsOf(FakeHost& host, TevDerivedDocument* doc, int extra = 0) {
    for (int index = 1; index <= extra; ++index) {
        host.addObject(doc, 10 + index, u"");
    }
    TevArray<TevDerivedObject*> objects;
    doc->getDerivedObjects(objects, E::eDocTypeAll);
    return Objects(objects.begin(), objects.end());
}

TevArray<TevDerivedObject*> pick(const Objects& o, const std::vector<int>& indexes) {
    TevArray<TevDerivedObject*> set;
    for (const int index : indexes) {
        set.append(index < 0 ? nullptr : o[index]);
    }
    return set;
}

// The model's groups of duplicates, as text; checks on the way that each member points at
// its group and that each of `objects` points at no group or at one the model holds
// that lists it.
std::string groupsOf(const TevDerivedDocumentsModel& model, const Objects& objects) {
    std::string out;
    const auto& groups = model.getDuplicates();
    for (const TevDerivedObjectDuplicateInfo* group : groups) {
        EXPECT_TRUE(group->objectsAreDuplicated());
        for (const TevDerivedObject* obj : group->getObjects()) {
            EXPECT_EQ(obj->getDuplicateInfo(), group) << nameOf(obj);
            out += (obj == group->getObjects()[0] ? " group:" : ",") + nameOf(obj);
        }
    }
    for (const TevDerivedObject* obj : objects) {
        const TevDerivedObjectDuplicateInfo* group = obj->getDuplicateInfo();
        EXPECT_TRUE(group == nullptr ||
                    (std::count(groups.begin(), groups.end(), group) == 1 &&
                     std::count(group->getObjects().begin(), group->getObjects().end(), obj) == 1))
            << nameOf(obj) << " points at a group that does not hold it";
    }
    return out;
}

// A1 and A2 (objects H7, H8), the BOM Parts and the DSTV NC P1; the log starts empty.
struct Registry : FakeHost {
    using FakeHost::FakeHost;
    FakeModel& fill() {
        addDetail(7, "..\\Details\\A1.dwg");
        addDetail(8, "..\\Details\\A2.dwg");
        addBom(5, "..\\BOM\\Parts.txt");
        addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
        log.clear();
        return model();
    }
    // The calls since the last look, without those that accompany object construction
    // and status reads; the log starts again.
    std::string calls(std::initializer_list<const char*> ignored = {"isCommandActive",
                                                                    "checkDerivedObjects"}) {
        return brief(log.take(ignored));
    }
};

// Every assertion the library reports is recorded; a test ends with none left unchecked.
class TevDerivedDocumentsModelRegistry : public testing::Test {
protected:
    ~TevDerivedDocumentsModelRegistry() override {
        host.destroyModel(); // what its destruction reports counts too
        EXPECT_EQ(recorder.texts(), Texts{});
    }

    ScopedAssertionRecorder recorder;
    Registry host;
    FakeModel& model = host.model();
};

// The same on the filled registry (see Registry).
struct TevDerivedDocumentsModelQueries : TevDerivedDocumentsModelRegistry {
    TevDerivedDocumentsModelQueries() { host.fill(); }
};

// Each kind is registered once per key, through the factory, and a document that holds
// no object is let go of; the exact host calls per case.
TEST_F(TevDerivedDocumentsModelRegistry, RegistersEachKindOncePerKeyAndLetsGoOfWhatHoldsNoObject) {
    host.addDetail(9, "..\\Details\\Z9.dwg");
    model.reportManager = nullptr;
    host.calls();
    EXPECT_EQ(host.addBom(5, "..\\BOM\\Parts.txt"), nullptr);
    EXPECT_EQ(host.calls(), "getReportManager");
    model.reportManager = &host.reportManager;
    host.reportManager.dstvReports.insert(5);
    // Documents answer that they hold objects (1) or none (0); static, as the documents
    // keep its address until the model goes.
    static int objects = 1;
    host.factory.documentScript.addAll = &objects;
    // Per kind: the path, the calls that create the document, its name, and whether a
    // registration met again passes resetStatus on. The flags of addAllDerivedObjects:
    // update, already registered, checkFile, resetStatus.
    const struct {
        const char *path, *create, *name, *reset;
    } kinds[] = {
        {"..\\Details\\A1.dwg", "createDetailDocument(7,..\\Details\\A1.dwg)", "A1.dwg", "0"},
        {"..\\DSTV\\List.txt",
         "getReportManager isDstvReport(5) createBomDocument(5,..\\DSTV\\List.txt,1)", "List.txt",
         "1"},
        {"NC\\P1.nc", "createNCDocument(NC\\P1.nc,1,N1,0)", "P1.nc", "1"}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.path);
        const auto add = [&](const char* path, bool update, bool checkFile, bool reset) {
            using Doc = TevDerivedDocument*;
            return k.name[0] == 'A'   ? Doc(host.addDetail(7, path, update, checkFile, reset))
                   : k.name[0] == 'L' ? Doc(host.addBom(5, path, update, checkFile, reset))
                                      : Doc(host.addNC(path, E::eDocSubTypeNCNamed, "N1", false,
                                                       update, checkFile, reset));
        };
        const std::string create = k.create, all = " addAllDerivedObjects(" + std::string(k.name),
                          gone = " ~" + std::string(k.name);
        EXPECT_EQ(add("", true, true, true), nullptr);
        // no path: not even the report manager is asked
        EXPECT_EQ(host.calls(), "");
        host.factory.nullDocuments = true;
        EXPECT_EQ(add(k.path, false, false, false), nullptr);
        // the factory made none
        EXPECT_EQ(host.calls(), create);
        host.factory.nullDocuments = false;
        TevDerivedDocument* doc = add(k.path, true, false, false);
        EXPECT_EQ(host.calls(), create + all + ",1000)");
        EXPECT_EQ(add(k.path, false, false, true), doc);
        EXPECT_EQ(host.calls(), create + gone + all + ",010" + k.reset + ")");
        objects = 0;
        // met again, now without objects
        EXPECT_EQ(add(k.path, true, true, true), nullptr);
        EXPECT_EQ(host.calls(), create + gone + all + ",111" + k.reset + ")" + gone);
        // a new one without objects
        EXPECT_EQ(add(k.path, false, true, true), nullptr);
        EXPECT_EQ(host.calls(), create + all + ",0011)" + gone);
        objects = 1;
        EXPECT_EQ(host.registered(), "Z9.dwg");
    }
}

struct World {
    TevArray<TevDocManObject> table; // outlives the model, as the host's does
    FakeHost host;
    TevDerivedDocument* a1 = host.addDetail(7, "..\\Details\\A1.dwg");
    TevDerivedDocument* parts = host.addBom(5, "..\\BOM\\Parts.txt");
    Objects o = objectsOf(host, a1, 2);
    TevArray<TevDerivedObject*> picked; // made before the allocations are refused

    World() { host.model().setDocManObjects(&table); }
    World& group(const std::vector<int>& indexes) {
        host.model().appendDuplicateObjects(::pick(o, indexes));
        return *this;
    }
    World& dissolve(int index) {
        host.model().removeObjectFromDuplicate(o[index]);
        return *this;
    }
    void choose(const std::vector<int>& indexes) { picked = ::pick(o, indexes); }
    static void appendPicked(World& w) { w.host.model().appendDuplicateObjects(w.picked); }
};

// The registry against A1 and Parts (+ added, - gone), the rows, the groups and the
// disposals (~), as text; checks on the way that they agree with each other and with
// what the factory holds.
std::string checkedState(World& w) {
    std::set<std::string> docs = {"A1.dwg", "Parts.txt"};
    std::string state, rows;
    Objects objects;
    for (const TevDocManObject& row : w.table) {
        rows += (rows.empty() ? " rows:" : ",") + nameOf(row.m_derivedObject);
    }
    TevArray<TevDerivedDocument*> registered;
    w.host.model().getDerivedDocs(registered);
    for (TevDerivedDocument* doc : registered) {
        state += docs.erase(nameOf(doc)) != 0 ? "" : " +" + nameOf(doc);
        for (TevDerivedObject* obj : objectsOf(w.host, doc)) {
            objects.push_back(obj);
            const auto inTable = std::count_if(w.table.begin(), w.table.end(), [obj](auto& row) {
                return row.m_derivedObject == obj;
            });
            // its in-table mark agrees with the table
            EXPECT_EQ(obj->appendDocManObject(&w.table, E::eDocSubTypeAll) + inTable, 1)
                << nameOf(obj);
        }
    }
    for (const std::string& gone : docs) {
        state += " -" + gone;
    }
    const std::string gone = brief(w.host.log.only("dispose"));
    state += rows + groupsOf(w.host.model(), objects) + (gone.empty() ? "" : " ") + gone;
    EXPECT_EQ(w.host.factory.liveDocuments(), std::size_t(registered.length()));
    EXPECT_EQ(w.host.factory.liveObjects(), objects.size()) << "only the registry's objects live";
    return state;
}

// A refused allocation in any registry operation leaves the registry, rows and groups
// consistent and reports the failure.
TEST(TevDerivedDocumentsModelWithoutMemory, RefusingTheKthAllocationLeavesAConsistentRegistry) {
    // Per operation, for k = 0, 1, ... until the operation reaches no k-th allocation:
    // the state after it (see checkedState) and "!n" for n reports of the failures. First
    // with only the k-th allocation refused, then with every one from the k-th on (the
    // same outcomes when none are given).
    using Step = void (*)(World&);
    const Step rows = [](World& w) {
        w.a1->addDocManObjects(&w.table);
        w.parts->addDocManObjects(&w.table);
    };
    const Step single = [](World& w) { w.choose({0}); };
    const Step one = [](World& w) { w.choose({0, 0}); };
    const Step pair = [](World& w) { w.choose({0, 1}); };
    const Step join = [](World& w) { w.group({0, 1}).choose({0, 2}); };
    const Step room = [](World& w) { w.group({1, 2}).dissolve(1).choose({0, 1}); };
    const Step move = [](World& w) { w.group({0, 1}).choose({2, 1}); };
    // Outcomes are joined by '|'; fromK is null when it equals single.
    const struct {
        Step before, operation;
        const char *single, *fromK;
    } ops[] = {
        {nullptr, [](World& w) { w.host.addDetail(8, "..\\Details\\A2.dwg"); },
         " ~H8 ~A2.dwg !1| ~A2.dwg ~H8 !1| +A2.dwg", nullptr},
        {nullptr, [](World& w) { w.host.addDetail(7, "..\\Details\\A1.dwg"); }, " ~A1.dwg",
         nullptr},
        {nullptr, [](World& w) { w.host.addBom(6, "..\\BOM\\Plates.txt", true); },
         " ~Plates.txt:bom ~Plates.txt !1| ~Plates.txt ~Plates.txt:bom !1| +Plates.txt", nullptr},
        {rows,
         [](World& w) {
             w.host.model().derivedDocFileNameChanged(w.a1->getKey(), u"..\\Details\\B1.dwg", u"");
         },
         " -A1.dwg rows:Parts.txt:bom ~B1.dwg ~H7 ~detail11 ~detail12 !1| +B1.dwg -A1.dwg "
         "rows:Parts.txt:bom",
         nullptr},
        {nullptr, rows,
         " rows:detail11,detail12,Parts.txt:bom !1| rows:H7,detail11,detail12,Parts.txt:bom",
         " !4| rows:H7,detail11,detail12,Parts.txt:bom"},
        {single, nullptr, "", nullptr},
        {one, nullptr, " !1|", " !2|"},
        {pair, nullptr, " !1| group:H7,detail11 !1| !1| group:H7,detail11",
         " !2| !2| !1| group:H7,detail11"},
        {join, nullptr, " group:H7,detail11 !1| group:H7,detail11 !1| group:H7,detail11,detail12",
         " group:H7,detail11 !2| group:H7,detail11 !1| group:H7,detail11,detail12"},
        // The model's list of groups has room left by a dissolved group.
        {room, nullptr, " !1| group:H7,detail11 !1| group:H7,detail11",
         " !2| !3| group:H7,detail11"},
        {move, nullptr,
         " group:H7,detail11 !1| group:detail12,detail11 !1| group:detail12,detail11",
         " group:H7,detail11 !2| !3| group:detail12,detail11"},
    };
    for (const auto& op : ops) {
        for (const int refusing : {1, INT_MAX}) {
            SCOPED_TRACE(testing::Message()
                         << "operation " << &op - ops << ", refusing " << refusing);
            Texts outcomes;
            for (int k = 0, refused = 1; refused != 0 && k < 20; ++k) {
                ScopedAssertionRecorder recorder;
                World w;
                (op.before != nullptr ? op.before : [](World&) {})(w);
                w.host.log.clear();
                {
                    const ScopedAllocationFailure failure(k, 0, refusing);
                    (op.operation != nullptr ? op.operation : World::appendPicked)(w);
                    refused = failure.refused();
                }
                const Texts reports = recorder.take();
                EXPECT_EQ(reports, Texts(reports.size(), "pElements != NULL && numElements > 0"));
                outcomes.push_back(checkedState(w) +
                                   (reports.empty() ? "" : " !" + std::to_string(reports.size())));
                EXPECT_EQ(recorder.texts(), Texts{});
            }
            EXPECT_EQ(joined(outcomes, "|"), refusing == 1 || !op.fromK ? op.single : op.fromK);
        }
    }
}

// Without a factory nothing is registered, removed or let go of; unregistering withdraws
// the report and removes the document either way.
TEST_F(TevDerivedDocumentsModelRegistry, RemovesAndUnregistersOnlyThroughTheFactory) {
    const TevDerivedDocKey key = host.addDetail(7, "..\\Details\\A1.dwg")->getKey();
    host.addBom(5, "..\\BOM\\Parts.txt");
    TevDerivedDocument* a2 = host.addDetail(7, "..\\Details\\A2.dwg");
    TevDerivedDocumentsModel::setFactory(nullptr);
    host.calls();
    EXPECT_EQ(host.addDetail(8, "..\\Details\\A3.dwg"), nullptr);
    EXPECT_EQ(host.addBom(6, "..\\BOM\\More.txt"), nullptr);
    EXPECT_FALSE(model.removeDoc(key));
    EXPECT_EQ(model.unregistDoc(key), E::eStatusFailed);
    model.resetDerivedDocs(E::eDocTypeAll);
    // renamed onto A1's key, A2 can be neither filed nor let go of
    model.derivedDocFileNameChanged(a2->getKey(), u"..\\Details\\A1.dwg", u"");
    EXPECT_EQ(host.calls(), "getReportManager");
    EXPECT_EQ(recorder.take(), (Texts{"pFact", "pFact", "m_docs.size() == 0", "pFact"}));
    TevDerivedDocumentsModel::setFactory(&host.factory);
    host.factory.disposeDocument(a2, &model); // named A1.dwg now, with its object
    EXPECT_EQ(host.calls(), "~A1.dwg ~H7");
    // nothing is registered or removed without it
    EXPECT_EQ(host.registered(), "Parts.txt A1.dwg");

    EXPECT_TRUE(model.removeDoc(key));
    EXPECT_EQ(host.calls(), "~A1.dwg ~H7");
    EXPECT_FALSE(model.removeDoc(key));
    EXPECT_EQ(recorder.take(), Texts{"0"});
    // no broken precondition here
    EXPECT_EQ(model.unregistDoc(key), E::eStatusFailed);
    for (const int withdrawn : {0, 1}) {
        host.reportManager.withdrawResult = withdrawn;
        const TevDerivedDocKey bomKey = host.addBom(5, "..\\BOM\\Parts.txt")->getKey();
        host.calls();
        EXPECT_EQ(model.unregistDoc(bomKey), withdrawn ? E::eStatusOk : E::eStatusFailed);
        EXPECT_EQ(host.calls(), "deregistFromModel(Parts.txt) getReportManager "
                                "withdrawReport(5,..\\BOM\\Parts.txt) ~Parts.txt ~Parts.txt:bom");
        // removed also when the report stayed
        EXPECT_EQ(host.registered(), "");
    }
}

// Groups of duplicates form, move and dissolve as members come and go, and go with
// their model or their last member.
TEST_F(TevDerivedDocumentsModelRegistry,
       FormsMovesAndDissolvesDuplicateGroupsAndDisposesOfThemAtTheEnd) {
    TevDerivedDocument* doc = host.addDetail(7, "..\\Details\\A1.dwg");
    host.addBom(5, "..\\BOM\\Parts.txt");
    Objects o = objectsOf(host, doc, 3);
    const auto append = [&](const std::vector<int>& set) {
        model.appendDuplicateObjects(pick(o, set));
        return groupsOf(model, o);
    };
    // One object, however often named, or a set led by none is no set.
    for (const auto& noSet : {std::vector<int>{}, {0}, {0, 0}, {-1, 1, 2}}) {
        EXPECT_EQ(append(noSet), "");
    }
    EXPECT_EQ(append({0, 1}), " group:H7,detail11");
    EXPECT_EQ(append({0, 1}), " group:H7,detail11"); // the same set forms one group
    EXPECT_EQ(append({0, 1, 2}), " group:H7,detail11,detail12");
    model.removeObjectFromDuplicate(o[1]);
    model.removeObjectFromDuplicate(o[1]); // in no group now
    model.removeObjectFromDuplicate(nullptr);
    EXPECT_EQ(groupsOf(model, o), " group:H7,detail12");
    // 0 leaves its group for 3's new one, and 2 is left alone
    EXPECT_EQ(append({3, 1, 0}), " group:detail13,detail11,H7");
    doc->deleteDerivedObject(o[3]);
    o.pop_back();
    EXPECT_EQ(groupsOf(model, o), " group:detail11,H7"); // a destroyed object leaves its group
    model.derivedObjectDeleted(nullptr);
    model.derivedObjectDeleted(o[0]);
    EXPECT_EQ(groupsOf(model, o), ""); // a group of one dissolves
    EXPECT_EQ(append({1, 2}), " group:detail11,detail12");
    {
        const TevDerivedObjectDuplicateInfo copy(*model.getDuplicates()[0]); // unhooks no member
    }
    doc->deleteDerivedObject(o[2]);
    o.pop_back();
    EXPECT_EQ(groupsOf(model, o), ""); // a pair that loses a destroyed member dissolves
    append({0, 1});                    // a group left for the model's destruction
    host.log.clear();
    host.destroyModel();
    EXPECT_EQ(host.calls(), "~Parts.txt ~Parts.txt:bom ~A1.dwg ~H7 ~detail11");

    CallLog log; // objects outside the registry
    auto first = std::make_unique<FakeDetailObject>(log, "first", nullptr, 1, u"F1");
    FakeDetailObject second(log, "second", nullptr, 2, u"F2"),
        third(log, "third", nullptr, 3, u"F3");
    {
        FakeModel other(log, u"", nullptr);
        other.appendDuplicateObjects(pick({first.get(), &second, &third}, {0, 1, 2}));
        first.reset(); // leaves the group that no model of its own holds
        EXPECT_EQ(groupsOf(other, {&second, &third}), " group:second,third");
        TevDerivedDocumentsModel::setFactory(nullptr); // an empty model needs none
    }
    TevDerivedDocumentsModel::setFactory(&host.factory);
    // the group went and let its members go
    EXPECT_EQ(second.getDuplicateInfo() == nullptr && third.getDuplicateInfo() == nullptr, true);
}

// Look-ups by id and type, and by name or full path regardless of case.
TEST_F(TevDerivedDocumentsModelRegistry, FindsDocumentsByIdAndByNameIgnoringCase) {
    host.addDetail(7, "..\\Details\\A1.dwg");
    host.addBom(7, "..\\BOM\\Parts.txt");
    host.addNC("NC\\P1.nc", E::eDocSubTypeNCNamed, "p1", false);
    host.addNC("NC\\P2.nc", E::eDocSubTypeNCNamed, "p2", false);
    // By id when no name is given; id 1 finds the first NC document in registry order.
    using Query = std::tuple<std::int64_t, const char16_t*, E::eDocType, const char*>;
    for (const auto& [id, name, type, found] :
         {Query(1, nullptr, E::eDocTypeAll, "P1.nc"),
          Query(7, nullptr, E::eDocTypeDetail, "A1.dwg"),
          Query(7, nullptr, E::eDocTypeBom, "Parts.txt"), Query(7, nullptr, E::eDocTypeNC, "null"),
          Query((std::int64_t{1} << 32) + 7, nullptr, E::eDocTypeAll, "null"),
          Query(0, u"a1.DWG", E::eDocTypeAll, "A1.dwg"),
          Query(0, u"c:\\model\\derdocs\\bom\\PARTS.TXT", E::eDocTypeAll, "Parts.txt"),
          Query(0, u"C:\\Model\\DerDocs\\NC\\P2.nc", E::eDocTypeNC, "P2.nc"),
          Query(0, u"A1.dwg", E::eDocTypeBom, "null"),
          Query(0, u"\\Details\\A1.dwg", E::eDocTypeAll, "null")}) {
        EXPECT_EQ(nameOf(name ? model.getAt(name, type) : model.getAt(id, type)), found)
            << id << " " << TevString(name).toUtf8() << " " << type;
    }
}

// The lists the queries fill end with the storage that appending their entries one by
// one gives (the next multiple of the growth step, or the caller's when it suffices),
// had in one allocation; the model's own scratch list of objects doubles.
TEST(TevDerivedDocumentsModelStorage, ListsGetTheirStorageOfAppendingOneByOneAtOnce) {
    FakeHost host;
    for (int id = 1; id <= 33; ++id) {
        host.addDetail(id, ("..\\Details\\A" + std::to_string(id) + ".dwg").c_str());
    }
    TevDerivedDocumentsModel& model = host.model();
    TevArray<TevDerivedDocument*> docs, roomy(40, 8), ofType(0, 7);
    TevArray<TevDerivedObject*> objects(0, 3);
    TevArray<TevString> prefixes, numbers, fileNames(0, 16), fullFileNames(40, 8);
    Ints allocations;
    const auto count = [&allocations](std::size_t size, auto query) {
        const ScopedAllocationFailure counter(INT_MAX, size);
        query();
        allocations.push_back(counter.grantedSoFar());
    };
    docs.append(nullptr); // emptied first
    count(sizeof(void*), [&] { model.getDerivedDocs(docs); });
    count(sizeof(void*), [&] { model.getDerivedDocs(roomy); });
    count(sizeof(void*), [&] { model.getDerivedDocsOfType(ofType, E::eDocTypeDetail); });
    count(sizeof(void*), [&] { model.getDerivedObjectsOfType(objects, E::eDocTypeAll); });
    const auto drawingNumbers = [&] {
        model.getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
    };
    count(sizeof(TevString), drawingNumbers);
    count(sizeof(TevDerivedDwgNo), drawingNumbers);
    TevHashTable<int, TevDerivedDwgNo> byNumber;
    TevHashTable<TevString, TevDerivedDwgNo> byText;
    TevHashSet<TevString> set;
    TevArray<TevString> morePrefixes, moreNumbers, moreFileNames;
    count(sizeof(TevString), [&] {
        model.getAllDerivedDetailDrawingNumbers(byNumber, byText, set, morePrefixes, moreNumbers,
                                                moreFileNames);
    });
    EXPECT_EQ(allocations, (Ints{1, 0, 35, 73, 3, 1, 3}));
    EXPECT_EQ((Ints{docs.physicalLength(), roomy.physicalLength(), ofType.physicalLength(),
                    objects.physicalLength(), prefixes.physicalLength(), numbers.physicalLength(),
                    fileNames.physicalLength(), fullFileNames.physicalLength(), numbers.length(),
                    docs.length()}),
              (Ints{40, 40, 35, 33, 40, 40, 48, 40, 33, 33}));
}

// A reset disposes of the documents of its kind and of their caches, and only then.
TEST_F(TevDerivedDocumentsModelQueries, ResetTheDocumentsOfOneKindOrAllWithTheirCaches) {
    model.enableCache();
    EXPECT_EQ(host.calls(), "disableAndDeleteCache"); // the host's override
    EXPECT_TRUE(model.isCacheOn());
    model.TevDerivedDocumentsModel::disableAndDeleteCache();
    EXPECT_FALSE(model.isCacheOn());
    // Per type, the disposals and what stays; the type's caches are reset, the details
    // cache only by a reset of all.
    const std::tuple<E::eDocType, const char*, const char*, const char*> cases[] = {
        {E::eDocTypeNC, "~P1.nc ~P1.nc:nc", "Parts.txt A2.dwg A1.dwg", ""},
        {static_cast<E::eDocType>(7), "", "P1.nc Parts.txt A2.dwg A1.dwg", "false"},
        {E::eDocTypeBom, "~Parts.txt ~Parts.txt:bom", "P1.nc A2.dwg A1.dwg", ""},
        {E::eDocTypeDetail, "~A2.dwg ~H8 ~A1.dwg ~H7", "P1.nc Parts.txt", ""},
        {E::eDocTypeAll, "~P1.nc ~P1.nc:nc ~Parts.txt ~Parts.txt:bom ~A2.dwg ~H8 ~A1.dwg ~H7", "",
         ""}};
    for (const auto& [type, disposals, kept, reports] : cases) {
        SCOPED_TRACE(type);
        Registry other;
        FakeModel& m = other.fill();
        std::fill_n(m.m_derDocsCachedA, 3, true);
        std::fill_n(m.m_derDocsCachedB, 3, true);
        for (auto* table :
             {&m.m_detailsCacheTable1, &m.m_detailsCacheTable2, &m.m_detailsCacheTable3}) {
            table->insert(u"D1", TevArray<std::int64_t>());
        }
        m.m_detailsCacheList.append(42);
        m.m_detailsCacheValid = true;
        m.setDocumentsManagerOpen(true); // stays open
        m.resetDerivedDocs(type);
        EXPECT_EQ(other.calls(), disposals);
        EXPECT_EQ(other.registered(), kept);
        EXPECT_EQ(joined(recorder.take()), reports);
        for (int t = 0; t < 3; ++t) {
            const bool reset = t == type || type == E::eDocTypeAll;
            EXPECT_EQ((Ints{m.m_derDocsCachedA[t], m.m_derDocsCachedB[t]}), Ints(2, !reset)) << t;
        }
        const int all = type == E::eDocTypeAll;
        EXPECT_EQ((Ints{m.m_detailsCacheTable1.size(), m.m_detailsCacheTable2.size(),
                        m.m_detailsCacheTable3.size(), m.m_detailsCacheList.length(),
                        m.m_detailsCacheValid, m.isDocumentsManagerOpen(),
                        m.getDerivedDocs().size() == 0}),
                  (Ints{1 - all, 1 - all, 1 - all, 1 - all, 1 - all, 1, all}));
    }
    TevDerivedDocumentsModel::setFactory(&host.factory); // each of the others took it
}

// A document modified outside is reset but stays registered; a refill asks the host and
// fills only the documents without objects; the update check follows.
TEST_F(TevDerivedDocumentsModelQueries, ResetRefillAndCheckUpdateRequirements) {
    model.getAt(5, E::eDocTypeBom)->reset(); // registered, but without objects
    host.calls();
    model.modifiedExternallyAt(99); // an id that no document has
    model.modifiedExternallyAt(8);
    EXPECT_EQ(host.calls(), "~H8");
    EXPECT_EQ(host.registered(), "P1.nc Parts.txt A2.dwg A1.dwg"); // it stays registered
    model.addDerivedDocs(E::eDocTypeDetail, true);
    EXPECT_EQ(host.calls(), "beginCheckDerivedObjects addDerivedDetailDocs(1) "
                            "addAllDerivedObjects(A2.dwg,1000) endCheckDerivedObjects");
    model.addDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.calls({"isCommandActive", "checkDerivedObjects", "create"}),
              "addDerivedDetailDocs(0) addDerivedBomDocs(0) addDerivedNCDocs(0) "
              "addAllDerivedObjects(Parts.txt,0000)");

    // The update check re-reads the documents of its type, with or without a progress
    // manager, and reports progress under its prompt.
    TevProcessEvolutionManager::setProcessEvolutionManager(nullptr);
    model.checkHasUpdReqForDerivedDocs(E::eDocTypeBom, true);
    EXPECT_EQ(recorder.take(), Texts{"pManager"}); // and the check runs without one
    EXPECT_EQ(host.calls(), "prepareCheckHasUpdReq(1) addAllDerivedObjects(Parts.txt,0100)");

    TevProcessEvolutionManager manager; // uninstalls itself when it goes
    TevProcessEvolutionManager::setProcessEvolutionManager(&manager);
    const int otherKey = manager.getKeyForAction(u"Another action");
    const TevString shipped = Prompts::getPrompt(u"GUI", 45033);
    Prompts::setPrompt(u"GUI", 45033, u"Checking the derived documents of a test");
    model.checkHasUpdReqForDerivedDocs(E::eDocTypeDetail, true);
    Prompts::setPrompt(u"GUI", 45033, shipped);
    // only the details are asked to re-read
    EXPECT_EQ(host.calls(), "prepareCheckHasUpdReq(0) addAllDerivedObjects(A2.dwg,0100) "
                            "addAllDerivedObjects(A1.dwg,0100)");
    // every document counts: 10 * visited / 4 is 2, 5, 7 and 10, and 10 is the level kept
    const int key = manager.getKeyForAction(u"Checking the derived documents of a test");
    EXPECT_EQ((Ints{manager.getProgress(key), manager.getProgress(otherKey), key}),
              (Ints{10, 0, 2}));
    model.checkHasUpdReqForDerivedDocs(E::eDocTypeAll, false);
    EXPECT_EQ(host.calls(),
              "prepareCheckHasUpdReq(3) addAllDerivedObjects(P1.nc,0100) "
              "addAllDerivedObjects(Parts.txt,0100) addAllDerivedObjects(A2.dwg,0100) "
              "addAllDerivedObjects(A1.dwg,0100)");
    EXPECT_EQ(manager.getProgress(3), 0); // no progress asked for, no action named
}

// "file name|number|prefix|full file name|" of a drawing.
std::string fields(const TevDerivedDwgNo& drawing) {
    TevString fileName, fullFileName, number(u"before"), prefix;
    drawing.getFileName(fileName);
    drawing.getFullFileName(fullFileName);
    drawing.getDwgNo(number);
    drawing.getDwgNoPrefix(prefix);
    return text(fileName) + "|" + text(number) + "|" + text(prefix) + "|" + text(fullFileName) +
           "|";
}

// Every detail with a drawing number is listed in registry order and tabled by key.
TEST(TevDerivedDocumentsModelDrawingNumbers, ListEveryDrawingInRegistryOrderAndTableThemByKey) {
    EXPECT_EQ(fields(TevDerivedDwgNo()), "||||"); // the out arguments are replaced
    Registry host;
    host.addBom(5, "..\\BOM\\Parts.txt");
    // A3 has neither number nor prefix; A5's info is built later ("old" by the host).
    const char* const details[][2] = {{"7", "A-"}, {"12", "a-"}, {"", ""}};
    for (int id = 1; id <= 3; ++id) {
        const std::string path = "..\\Details\\A" + std::to_string(id) + ".dwg";
        const_cast<TevDerivedDocumentInfo*>(host.addDetail(id, path.c_str())->getInfo())
            ->setDwgNo(details[id - 1][0], details[id - 1][1]);
    }
    ASSERT_EQ(host.addDetail(5, "..\\Details\\A5.dwg")->cachedInfo(), nullptr);
    TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
    TevHashTable<int, TevDerivedDwgNo> byNumber;
    TevHashTable<TevString, TevDerivedDwgNo> byText;
    TevHashSet<TevString> set;
    const TevDerivedDwgNo caller(u"C.dwg", u"C:\\C.dwg", u"12", u"X-");
    byNumber.insert(12, caller);
    byText.insert(u"X-5", caller);
    set.insert(u"C:\\C.dwg");
    // The fields (see fields) of each entry of the lists, which hold a stale entry before;
    // the tables' overload fills no full file names.
    const auto collect = [&](bool tables) {
        for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames, &fullFileNames}) {
            *list = listOf({u"stale"});
        }
        if (tables) {
            host.model().getAllDerivedDetailDrawingNumbers(byNumber, byText, set, prefixes, numbers,
                                                           fileNames);
        } else {
            host.model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames,
                                                           fullFileNames);
        }
        Texts out;
        for (int index = 0; index < fileNames.length(); ++index) {
            out.push_back(fields({fileNames[index], tables ? TevString() : fullFileNames[index],
                                  numbers[index], prefixes[index]}));
        }
        EXPECT_EQ(Ints({numbers.length(), prefixes.length(), fullFileNames.length()}),
                  Ints({fileNames.length(), fileNames.length(), tables ? 1 : fileNames.length()}));
        return joined(out);
    };
    const std::string dir = "C:\\Model\\DerDocs\\Details\\", c = "C.dwg|12|X-|C:\\C.dwg|",
                      a1 = "A1.dwg|7|A-|" + dir + "A1.dwg|", a2 = "A2.dwg|12|a-|" + dir + "A2.dwg|",
                      a5 = "A5.dwg|old||" + dir + "A5.dwg|";
    host.calls();
    EXPECT_EQ(collect(false), a5 + " " + a2 + " " + a1);
    EXPECT_EQ(host.calls({"isCommandActive", "checkDerived", "fill", "derived", "beginGet",
                          "endGet", "model."}),
              "addDerivedDetailDocs(0)");
    EXPECT_EQ(collect(true), "A5.dwg|old||| A2.dwg|12|a-|| A1.dwg|7|A-||");
    // The tables: "#number key=fields", "upper-cased prefix and number key=fields" and
    // the full file names; the caller's entries keep their keys.
    std::string keyed;
    for (const auto* node = byNumber.first(); node != nullptr; node = byNumber.next(node)) {
        keyed += " #" + std::to_string(node->key()) + "=" + fields(node->value());
    }
    for (const auto* node = byText.first(); node != nullptr; node = byText.next(node)) {
        keyed += " " + text(node->key()) + "=" + fields(node->value());
    }
    for (const auto* node = set.first(); node != nullptr; node = set.next(node)) {
        keyed += " " + text(node->key());
    }
    EXPECT_EQ(keyed, " #0=" + a5 + " #7=" + a1 + " #12=" + c + " A-12=" + a2 + " X-5=" + c +
                         " 0=" + a5 + " A-7=" + a1 + " " + dir + "A1.dwg " + dir +
                         "A5.dwg C:\\C.dwg " + dir + "A2.dwg");
}

} // namespace
