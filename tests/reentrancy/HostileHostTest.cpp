// A host that calls back into the library from inside the library's own calls into it:
// it lets documents go, resets the registry or uninstalls the factory while a walk or a
// registration is under way. Every case must end without touching freed memory (the
// sanitizers watch), with every document disposed of exactly once (the fake factory
// checks), and with the assertions the library reports for what it cannot allow.
#include "AssertionRecorder.h"
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using lumtest::FakeHost;
using lumtest::FakeModel;
using E = TevDerDocEnums;
using Texts = std::vector<std::string>;

const char* const kWalk = "registry changed during a walk beyond the visited document";

TevDerivedDocKey keyOf(FakeHost& host, const char16_t* name) {
    return host.model().getAt(name, E::eDocTypeAll)->getKey();
}

std::string registered(FakeHost& host) {
    TevArray<TevDerivedDocument*> docs;
    host.model().getDerivedDocs(docs);
    Texts names;
    for (const TevDerivedDocument* doc : docs) {
        names.push_back(lumtest::nameOf(doc));
    }
    return lumtest::joined(names);
}

// One case: what the host does (`action`) from inside the first call into it that starts
// with `trigger`, while the library runs `operation` on the registry P1.nc, Parts.txt,
// A2.dwg, A1.dwg (in registry order); then the assertions reported, the documents left
// and the documents that were asked to add their objects.
struct Case {
    const char* name;
    const char* trigger;
    std::function<void(FakeHost&)> action;
    std::function<void(FakeHost&)> operation;
    Texts assertions;
    const char* left;
    const char* asked;
};

void removeDoc(FakeHost& host, const char16_t* name) {
    host.model().removeDoc(keyOf(host, name));
}

const Case kCases[] = {
    {"a check whose host lets the visited document go",
     "addAllDerivedObjects(Parts.txt",
     [](FakeHost& h) { removeDoc(h, u"Parts.txt"); },
     [](FakeHost& h) { h.model().checkHasUpdReqForDerivedDocs(E::eDocTypeAll, false); },
     {},
     "P1.nc A2.dwg A1.dwg",
     "P1.nc Parts.txt A2.dwg A1.dwg"},
    {"a check whose host resets every document",
     "addAllDerivedObjects(Parts.txt",
     [](FakeHost& h) { h.model().resetDerivedDocs(E::eDocTypeAll); },
     [](FakeHost& h) { h.model().checkHasUpdReqForDerivedDocs(E::eDocTypeAll, false); },
     {kWalk},
     "",
     "P1.nc Parts.txt"},
    {"a walk that adds objects, whose host lets the next document go",
     "addAllDerivedObjects(A2.dwg",
     [](FakeHost& h) { removeDoc(h, u"A1.dwg"); },
     [](FakeHost& h) {
         h.model().getAt(8, E::eDocTypeDetail)->reset();
         h.model().getAt(7, E::eDocTypeDetail)->reset();
         h.model().addDerivedDocs(E::eDocTypeDetail, false);
     },
     {kWalk},
     "P1.nc Parts.txt A2.dwg",
     "A2.dwg"},
    {"a reset of one kind whose disposal lets the next document go",
     "disposeDocument(A2.dwg",
     [](FakeHost& h) { removeDoc(h, u"A1.dwg"); },
     [](FakeHost& h) { h.model().resetDerivedDocs(E::eDocTypeDetail); },
     {kWalk},
     "P1.nc Parts.txt",
     ""},
    {"a reset of all whose disposal resets all",
     "disposeDocument(P1.nc",
     [](FakeHost& h) { h.model().resetDerivedDocs(E::eDocTypeAll); },
     [](FakeHost& h) { h.model().resetDerivedDocs(E::eDocTypeAll); },
     {kWalk},
     "",
     ""},
    {"a reset of all whose disposal uninstalls the factory",
     "disposeObject(P1.nc:nc",
     [](FakeHost&) { TevDerivedDocumentsModel::setFactory(nullptr); },
     [](FakeHost& h) {
         h.model().resetDerivedDocs(E::eDocTypeAll);
         TevDerivedDocumentsModel::setFactory(&h.factory);
     },
     {"pFact"},
     "Parts.txt A2.dwg A1.dwg",
     ""},
    {"a missing-file sweep whose disposal lets the next document go",
     "disposeDocument(A2.dwg",
     [](FakeHost& h) { removeDoc(h, u"A1.dwg"); },
     [](FakeHost& h) { h.model().deleteMissingFileDocs(E::eDocTypeDetail); },
     {kWalk},
     "P1.nc Parts.txt",
     ""},
    {"a registration met again whose disposal lets the earlier document go",
     "disposeDocument(A1.dwg",
     [](FakeHost& h) { removeDoc(h, u"A1.dwg"); },
     [](FakeHost& h) { EXPECT_EQ(h.addDetail(7, "..\\Details\\A1.dwg"), nullptr); },
     {},
     "P1.nc Parts.txt A2.dwg",
     ""},
    {"a factory that hands back a registered document",
     "createDetailDocument",
     [](FakeHost&) {},
     [](FakeHost& h) {
         TevDerivedDocument* a1 = h.model().getAt(7, E::eDocTypeDetail);
         h.factory.handBack = a1;
         EXPECT_EQ(h.addDetail(7, "..\\Details\\A1.dwg"), a1);
     },
     {"doc not registered yet"},
     "P1.nc Parts.txt A2.dwg A1.dwg",
     ""},
};

TEST(HostileHost, CallsBackIntoTheRegistryWithoutHarm) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        lumtest::ScopedAssertionRecorder recorder;
        FakeHost host;
        host.addDetail(7, "..\\Details\\A1.dwg");
        host.addDetail(8, "..\\Details\\A2.dwg");
        host.addBom(5, "..\\BOM\\Parts.txt");
        host.addNC("NC\\P1.nc", E::eDocSubTypeDstv, "", false);
        host.log.clear();
        host.log.when(c.trigger, [&host, &c] { c.action(host); });
        c.operation(host);
        EXPECT_EQ(recorder.take(), c.assertions);
        EXPECT_EQ(registered(host), c.left);
        Texts asked;
        for (const std::string& call : host.log.only("addAllDerivedObjects(")) {
            asked.push_back(call.substr(21, call.find(',') - 21));
        }
        EXPECT_EQ(lumtest::joined(asked), c.asked);
    }
}

TEST(HostileHost, ARegistryLeavesAForeignDocumentToItsOwnModel) {
    lumtest::ScopedAssertionRecorder recorder;
    FakeHost host;
    FakeModel other(host.log, u"C:\\Other", nullptr);
    TevDerivedDocument* foreign = host.factory.createDetailDocument(&other, 9, u"..\\X\\A9.dwg");
    host.factory.handBack = foreign;
    EXPECT_EQ(host.addDetail(9, "..\\X\\A9.dwg"), nullptr);
    EXPECT_EQ(recorder.take(), Texts{"doc->getModel() == this"});
    EXPECT_EQ(registered(host), "");
    host.factory.disposeDocument(foreign, &other); // its own model's to let go of
}

} // namespace
