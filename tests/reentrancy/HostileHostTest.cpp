// A host that calls back into the library from inside the library's own calls into it:
// it lets documents and objects go, resets the registry, renames, closes the manager,
// grows the table or uninstalls the factory while the library is at work. Every case
// must end without touching freed memory (the sanitizers watch), with everything
// disposed of exactly once (the fake factory checks), with every row showing a live
// object, and with the assertions the library reports for what it cannot allow.
#include "FakeHost.h"

namespace {

using namespace lumtest;

const char* const kWalk = "registry changed during a walk beyond the visited document";

// The registry P1.nc, Parts.txt, A2.dwg (object H8), A1.dwg (object H7), in registry
// order; the files of the details exist. The table, attached, shows every object.
struct World {
    TempFolder folder;
    TevArray<TevDocManObject> table; // outlives the model, as the host's does
    FakeHost host{folder.appPath()};

    World() {
        folder.createFile("Details/A1.dwg");
        folder.createFile("Details/A2.dwg");
        host.addDetail(7, "..\\Details\\A1.dwg");
        host.addDetail(8, "..\\Details\\A2.dwg");
        host.addBom(5, "..\\BOM\\Parts.txt");
        host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
        host.model().setDocManObjects(&table);
        for (TevDerivedDocument* doc : docs()) {
            doc->addDocManObjects(&table);
        }
        host.log.clear();
    }
    TevDerivedDocumentsModel& model() { return host.model(); }
    TevDerivedDocument* doc(const char16_t* name) { return model().getAt(name, E::eDocTypeAll); }
    TevArray<TevDerivedDocument*> docs() {
        TevArray<TevDerivedDocument*> all;
        model().getDerivedDocs(all);
        return all;
    }
    TevDerivedObject* obj(const char* label) {
        for (TevDerivedDocument* each : docs()) {
            TevArray<TevDerivedObject*> objects;
            each->getDerivedObjects(objects, E::eDocTypeAll);
            for (TevDerivedObject* listed : objects) {
                if (nameOf(listed) == label) {
                    return listed;
                }
            }
        }
        return nullptr;
    }
    TevDocManObject& row(const char* label) {
        for (TevDocManObject& each : table) {
            if (nameOf(each.m_derivedObject) == label) {
                return each;
            }
        }
        ADD_FAILURE() << "no row of " << label;
        return table[0];
    }
    // The documents left, then the row objects, as text.
    std::string state() {
        std::string out = host.registered() + (docs().isEmpty() ? "|" : " |");
        for (const TevDocManObject& each : table) {
            const bool live = host.factory.isLive(each.m_derivedObject);
            out += " " + (live ? nameOf(each.m_derivedObject) : "gone");
        }
        return out;
    }
};

using Step = std::function<void(World&)>;

Step removeDoc(const char16_t* name) {
    return [name](World& w) { w.model().removeDoc(w.doc(name)->getKey()); };
}
Step resetDocs(E::eDocType type) {
    return [type](World& w) { w.model().resetDerivedDocs(type); };
}
Step checkDocs(E::eDocType type) {
    return [type](World& w) { w.model().checkHasUpdReqForDerivedDocs(type, false); };
}
Step sweepDocs(E::eDocType type) {
    return [type](World& w) { w.model().deleteMissingFileDocs(type); };
}
Step addA1(const char* expected) {
    return [expected](World& w) {
        EXPECT_EQ(nameOf(w.host.addDetail(7, "..\\Details\\A1.dwg")), expected);
    };
}
Step deleteObject(const char16_t* doc, const char* obj, int expected = 1) {
    return [=](World& w) { EXPECT_EQ(w.doc(doc)->deleteDerivedObject(w.obj(obj)), expected); };
}
// Lists the drawing numbers of the details, expecting `count` of them.
Step drawingNumbers(int count) {
    return [count](World& w) {
        for (TevDerivedDocument* each : w.docs()) {
            each->resetInfo();
        }
        TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
        w.model().getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
        EXPECT_EQ(numbers.length(), count);
    };
}
// A progress manager whose every step is a call into the host.
struct HostileProgress : TevProcessEvolutionManager {
    explicit HostileProgress(CallLog& log)
        : log(log) {}
    void increaseProgress(int key, int amount) override {
        log.add("increaseProgress");
        TevProcessEvolutionManager::increaseProgress(key, amount);
    }
    CallLog& log;
};

// Sends `message` for the row of H7; `expected` is the answer.
Step send(int message, int expected) {
    return [=](World& w) {
        int out = 0;
        TevDocManObject& row = w.row("H7");
        row.m_newName = u"B1.dwg";
        EXPECT_EQ(w.obj("H7")->updateDocManObject(row, message, false, out, 0), expected);
    };
}

// One case: what the host does (`action`) from inside the first call into it that starts
// with `trigger`, while the library runs `operation`; then the assertions reported
// (joined by '|') and the state (see World) afterwards.
struct Case {
    const char* trigger;
    Step action, operation;
    const char *assertions, *state;
};

// The states most cases end in: nothing gone, H7 gone, A1 gone, Parts gone.
const char* const kAll = "P1.nc Parts.txt A2.dwg A1.dwg | P1.nc:nc Parts.txt:bom H8 H7";
const char* const kNoH7 = "P1.nc Parts.txt A2.dwg A1.dwg | P1.nc:nc Parts.txt:bom H8";
const char* const kNoA1 = "P1.nc Parts.txt A2.dwg | P1.nc:nc Parts.txt:bom H8";
const char* const kNoParts = "P1.nc A2.dwg A1.dwg | P1.nc:nc H8 H7";

const Case kCases[] = {
    // Walks: the visited document may go; any other change is reported and ends the walk.
    {"addAllDerivedObjects(Parts.txt", removeDoc(u"Parts.txt"),
     [](World& w) {
         checkDocs(E::eDocTypeAll)(w);
         EXPECT_EQ(w.host.log.only("addAllDerivedObjects").size(), 4U) << "none skipped";
     },
     "", kNoParts},
    {"addAllDerivedObjects(Parts.txt", resetDocs(E::eDocTypeAll), checkDocs(E::eDocTypeAll), kWalk,
     "|"},
    {"addAllDerivedObjects(A2.dwg", removeDoc(u"A1.dwg"), checkDocs(E::eDocTypeDetail), kWalk,
     kNoA1},
    {"disposeDocument(A2.dwg", removeDoc(u"A1.dwg"), resetDocs(E::eDocTypeDetail), kWalk,
     "P1.nc Parts.txt | P1.nc:nc Parts.txt:bom"},
    {"disposeDocument(P1.nc", removeDoc(u"Parts.txt"), sweepDocs(E::eDocTypeAll), kWalk,
     "A2.dwg A1.dwg | H8 H7"},
    {"withdrawReport", removeDoc(u"Parts.txt"), sweepDocs(E::eDocTypeBom), "", kNoParts},
    {"withdrawReport", removeDoc(u"Parts.txt"),
     [](World& w) { w.model().unregistDoc(w.doc(u"Parts.txt")->getKey()); }, "", kNoParts},
    {"increaseProgress", resetDocs(E::eDocTypeAll),
     [](World& w) {
         HostileProgress progress(w.host.log); // installed while it lives
         TevProcessEvolutionManager::setProcessEvolutionManager(&progress);
         w.model().checkHasUpdReqForDerivedDocs(E::eDocTypeAll, true);
     },
     kWalk, "|"},
    {"checkDerivedObjects(A1.dwg", [](World& w) { w.obj("H7")->getTitle(); },
     [](World& w) {
         w.doc(u"A1.dwg")->resetInfo();
         w.obj("H7")->resetInfo();
         w.doc(u"A1.dwg")->getInfo();
     },
     "infos not asked for while they are built", kAll},
    // A reset of all still ends empty, unless the factory is gone. Its rows leave the table
    // in one pass before the first disposal, also those of the documents that then stay.
    {"disposeDocument(P1.nc", resetDocs(E::eDocTypeAll), resetDocs(E::eDocTypeAll), kWalk, "|"},
    {"disposeObject(P1.nc:nc", [](World&) { TevDerivedDocumentsModel::setFactory(nullptr); },
     [](World& w) {
         w.model().resetDerivedDocs(E::eDocTypeAll);
         TevDerivedDocumentsModel::setFactory(&w.host.factory);
     },
     "pFact", "Parts.txt A2.dwg A1.dwg |"},
    {"fillOldInfo(A2.dwg", removeDoc(u"A2.dwg"), drawingNumbers(1), "",
     "P1.nc Parts.txt A1.dwg | P1.nc:nc Parts.txt:bom H7"},
    {"fillOldInfo(A2.dwg", removeDoc(u"A1.dwg"), drawingNumbers(0), kWalk, kNoA1},
    // Registration looks the registry up again after every host call.
    {"disposeDocument(A1.dwg", removeDoc(u"A1.dwg"), addA1("null"), "", kNoA1},
    {"createDetailDocument", [](World& w) { w.host.factory.handBack = w.doc(u"A1.dwg"); },
     addA1("A1.dwg"), "doc not registered yet", kAll},
    // An object let go of from inside its own operation goes when the operation ends,
    // which answers failure.
    {"updateDerivedObject(A1.dwg,H7", deleteObject(u"A1.dwg", "H7"),
     send(E::eDlgDocManMsgUpdateObject, 0), "", kNoH7},
    {"checkDerivedObjects(A1.dwg", deleteObject(u"A1.dwg", "H7"),
     send(E::eDlgDocManMsgUpdateObject, 0), "", kNoH7},
    {"updateDerivedObject(A1.dwg,H7", removeDoc(u"A1.dwg"), send(E::eDlgDocManMsgUpdate, 0), "",
     kNoA1},
    {"getNewUpdate(H7", [](World& w) { w.doc(u"A1.dwg")->reset(); },
     [](World& w) {
         w.obj("H7")->setHasUpdReq(true);
         EXPECT_EQ(w.obj("H7")->getUpdate(), E::eStatusFailed);
     },
     "", kNoH7},
    {"fillNewInfo(H7", deleteObject(u"A1.dwg", "H7"),
     [](World& w) {
         TevDerivedObject* h7 = w.obj("H7");
         h7->resetInfo();
         h7->setHasUpdReq(true);
         EXPECT_EQ(h7->getTitle(), TevString());
     },
     "", kNoH7},
    {"-", deleteObject(u"A1.dwg", "H7", 0), deleteObject(u"A2.dwg", "H7", 0),
     "obj->getDerivedDoc() == this", kAll},
    // A rename onto a registered key, from inside the document's own operation.
    {"-", nullptr,
     [](World& w) {
         w.host.addNC("NC\\P2.nc", E::eDocSubTypeDstv, "", false);
         w.host.log.when("isCommandActive", [&w] {
             w.model().derivedDocFileNameChanged(w.doc(u"P1.nc")->getKey(), u"NC\\P2.nc", u"");
         });
         EXPECT_EQ(w.obj("P1.nc:nc")->getUpdate(), E::eStatusFailed);
     },
     "", "P2.nc Parts.txt A2.dwg A1.dwg | Parts.txt:bom H8 H7"},
    // A grouped object the host keeps beyond its document leaves its group unharmed.
    {"-", nullptr,
     [](World& w) {
         TevArray<TevDerivedObject*> group;
         group.append(w.obj("H8"));
         group.append(w.host.factory.makeDetailObject(w.doc(u"A1.dwg"), 9, u"H9"));
         group.append(w.obj("H7"));
         w.model().appendDuplicateObjects(group);
         removeDoc(u"A1.dwg")(w);
         w.host.factory.disposeObject(group[1], &w.model());
     },
     "", kNoA1},
    {"disposeObject(H7", removeDoc(u"A1.dwg"), [](World& w) { w.doc(u"A1.dwg")->reset(); }, "",
     kNoA1},
    {"updateDerivedObject(A1.dwg,H7",
     [](World& w) {
         TevDerivedObject* h7 = w.obj("H7");
         EXPECT_EQ(w.doc(u"A1.dwg")->deleteDerivedObject(h7), 1);
         EXPECT_EQ(w.doc(u"A1.dwg")->deleteDerivedObject(h7), 0);
     },
     send(E::eDlgDocManMsgUpdateObject, 0), "not disposed of already", kNoH7},
    {"-", nullptr,
     [](World& w) {
         TevDerivedDocument* a1 = w.doc(u"A1.dwg");
         a1->setHasUpdReq(true);
         w.host.addObject(a1, 9, u"U9", true);
         w.host.log.when("model.addUpdOnlyDerivedObjects",
                         [&w] { deleteObject(u"A1.dwg", "U9")(w); });
         send(E::eDlgDocManMsgUpdate, 1)(w);
     },
     "", kAll},
    // Rows are found again by their object after every host call.
    {"updateDerivedObject(A1.dwg,H7", [](World& w) { w.model().setDocManObjects(nullptr); },
     send(E::eDlgDocManMsgUpdateObject, 0), "", kAll},
    {"checkDerivedObjects(A1.dwg",
     [](World& w) {
         for (int extra = 0; extra < 40; ++extra) {
             w.table.append(TevDocManObject()); // the table moves to new storage
         }
     },
     [](World& w) {
         w.doc(u"A1.dwg")->resetInfo();
         send(E::eDlgDocManMsgRefreshRevisions, 1)(w);
         EXPECT_EQ(w.row("H7").m_fullDwgNo, TevString(u"old"));
         w.table.setLength(4);
     },
     "", kAll},
    {"checkDerivedObjects(A1.dwg",
     [](World& w) {
         w.model().derivedDocFileNameChanged(w.doc(u"A1.dwg")->getKey(), u"..\\Details\\B1.dwg",
                                             u"");
     },
     [](World& w) {
         w.doc(u"A1.dwg")->resetInfo();
         send(E::eDlgDocManMsgRename, 0)(w);
     },
     "", "P1.nc B1.dwg Parts.txt A2.dwg | P1.nc:nc Parts.txt:bom H8"},
    {"updateDerivedObject(A1.dwg,H7", [](World& w) { w.model().setDocumentsManagerOpen(false); },
     [](World& w) {
         w.model().setDocumentsManagerOpen(true);
         w.table[0].m_removed = true;
         w.row("H7").m_title = u"stale";
         send(E::eDlgDocManMsgUpdateObject, 1)(w);
         EXPECT_EQ(w.row("H7").m_title, TevString(u"old:H7"));
     },
     "", "P1.nc Parts.txt A2.dwg A1.dwg | Parts.txt:bom H8 H7"},
};

TEST(HostileHost, CallsBackIntoTheLibraryWithoutHarm) {
    for (const bool leaveReferences : {false, true}) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(testing::Message() << "case " << &c - kCases << ": " << c.trigger);
            ScopedAssertionRecorder recorder;
            World w;
            w.host.factory.leaveReferences = leaveReferences; // the library never follows them
            w.host.log.when(c.trigger, [&w, &c] { c.action(w); });
            c.operation(w);
            EXPECT_EQ(joined(recorder.take(), "|"), c.assertions);
            EXPECT_EQ(w.state(), c.state);
        }
    }
}

TEST(HostileHost, ARegistryLeavesAForeignDocumentToItsOwnModel) {
    ScopedAssertionRecorder recorder;
    FakeHost host;
    FakeModel other(host.log, u"C:\\Other", nullptr);
    TevDerivedDocument* foreign = host.factory.createDetailDocument(&other, 9, u"..\\X\\A9.dwg");
    host.factory.handBack = foreign;
    EXPECT_EQ(host.addDetail(9, "..\\X\\A9.dwg"), nullptr);
    EXPECT_EQ(recorder.take(), Texts{"doc->getModel() == this"});
    host.factory.disposeDocument(foreign, &other); // its own model's to let go of
}

} // namespace
