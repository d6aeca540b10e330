// What the Windows build of the tests' support does not have: the package
// reader (expat), the reference writer (libxlsxwriter) and child processes
// (fork). Tests that use them skip themselves on Windows (testing/skip.h),
// so these are never called there.
#include <stdexcept>

#include "testing/child_process.h"
#include "testing/reference_xlsx_writer.h"
#include "testing/xlsx_package.h"

namespace statcrane::testing {
namespace {

[[noreturn]] void Unavailable(const char* what) {
  throw std::logic_error(std::string(what) + " is not available on Windows");
}

}  // namespace

ZipEntries ReadZip(const std::filesystem::path&) { Unavailable("the package reader"); }
std::unique_ptr<XmlElement> ParseXml(std::string_view) { Unavailable("the XML reader"); }
std::vector<std::pair<std::string, const XmlElement*>> SheetCells(const XmlElement&) {
  Unavailable("the XML reader");
}
std::string DecodeEscapes(std::string_view) { Unavailable("the XML reader"); }
const XmlElement* XmlElement::Child(std::string_view) const { Unavailable("the XML reader"); }
std::vector<const XmlElement*> XmlElement::Children(std::string_view) const {
  Unavailable("the XML reader");
}
std::string XmlElement::Attribute(std::string_view) const { Unavailable("the XML reader"); }

void WriteReferenceXlsx(const Workbook&, const std::filesystem::path&) {
  Unavailable("the reference writer");
}

ChildOutcome RunInChild(const std::function<int()>&) { Unavailable("a child process"); }
ChildOutcome RunUnprivileged(const std::function<int()>&) { Unavailable("a child process"); }
void GiveToNobody(const std::filesystem::path&) { Unavailable("another user"); }

}  // namespace statcrane::testing
