#include "control/document_source.h"

#include "common/testing/memory_file_system.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

using namespace std::string_literals;

TEST(StripAtNull, CutsAtTheFirstNul) {
    EXPECT_EQ(StripAtNull(L"C:\\a.pdf"), L"C:\\a.pdf");
    EXPECT_EQ(StripAtNull(L""), L"");
    EXPECT_EQ(StripAtNull(L"\0abc"s), L"");
    EXPECT_EQ(StripAtNull(L"C:\\a.pdf\0junk\0more"s), L"C:\\a.pdf");
}

TEST(StripAtNull, ANulPastThe16BitPositionIsNotFound) {
    std::wstring text(32766, L'x');
    text += L'\0'; // position 32767: still found
    text += L"tail";
    EXPECT_EQ(StripAtNull(text), std::wstring(32766, L'x'));

    std::wstring longer(32767, L'x');
    longer += L'\0'; // position 32768
    longer += L"tail";
    EXPECT_EQ(StripAtNull(longer), longer);
}

TEST(FileNameFromUrl, TakesTheLastSegmentUndecoded) {
    EXPECT_EQ(FileNameFromUrl(L"http://host/docs/manual.pdf"), L"manual.pdf");
    EXPECT_EQ(FileNameFromUrl(L"manual.pdf"), L"manual.pdf");
    EXPECT_EQ(FileNameFromUrl(L"http://host/get.php?id=5&x=a/b"), L"b");
    EXPECT_EQ(FileNameFromUrl(L"http://host/get.php?id=5#top"), L"get.php?id=5#top");
    EXPECT_EQ(FileNameFromUrl(L"http://host/dir/"), L"");
    EXPECT_EQ(FileNameFromUrl(L"http://host/a%2Fb.pdf"), L"a%2Fb.pdf");
    EXPECT_EQ(FileNameFromUrl(L"http://host/a\\b.pdf"), L"a\\b.pdf");
}

TEST(DocumentSource, RemoteTestLooksAtTheFirstFourLetters) {
    EXPECT_TRUE(IsRemoteAddress(L"http://host/a.pdf"));
    EXPECT_TRUE(IsRemoteAddress(L"HTTPS://host/a.pdf"));
    EXPECT_TRUE(IsRemoteAddress(L"ftp://host/a.pdf"));
    EXPECT_TRUE(IsRemoteAddress(L"FTP:x"));
    EXPECT_TRUE(IsRemoteAddress(L"httpdocs\\a.pdf")) << "any name beginning with http";
    EXPECT_FALSE(IsRemoteAddress(L"ftps://host/a.pdf"));
    EXPECT_FALSE(IsRemoteAddress(L"htt"));
    EXPECT_FALSE(IsRemoteAddress(L"C:\\http\\a.pdf"));
}

TEST(DocumentSource, KnownExtensionsInAnyCase) {
    EXPECT_TRUE(HasKnownExtension(L"a.pdf"));
    EXPECT_TRUE(HasKnownExtension(L"A.PDF"));
    EXPECT_TRUE(HasKnownExtension(L"form.Fdf"));
    EXPECT_TRUE(HasKnownExtension(L"form.XFDF"));
    EXPECT_TRUE(HasKnownExtension(L".pdf"));
    EXPECT_FALSE(HasKnownExtension(L"pdf"));
    EXPECT_FALSE(HasKnownExtension(L"a.pdfx"));
    EXPECT_FALSE(HasKnownExtension(L"a.txt"));
    EXPECT_FALSE(HasKnownExtension(L""));
}

TEST(DocumentSource, HeaderTestReadsTheFirstLine) {
    testing::MemoryFileSystem fs;
    fs.AddFile(L"C:\\d\\upper.txt", "%PDF-1.7\r\n...");
    fs.AddFile(L"C:\\d\\lower.txt", "%pdf-");
    fs.AddFile(L"C:\\d\\html.txt", "<html>%PDF-1.4");
    fs.AddFile(L"C:\\d\\short.txt", "%PDF\n-1.4");
    fs.AddFile(L"C:\\d\\empty.txt", "");
    fs.AddFile(L"C:\\d\\bom.txt", "\xEF\xBB\xBF%PDF-1.4");
    fs.AddFile(L"C:\\d\\locked.txt", "%PDF-1.4", testing::MemoryFileSystem::File::Locked());
    EXPECT_TRUE(HasPdfHeader(fs, L"C:\\d\\upper.txt"));
    EXPECT_TRUE(HasPdfHeader(fs, L"C:\\d\\lower.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d\\html.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d\\short.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d\\empty.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d\\bom.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d\\locked.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d\\missing.txt"));
    EXPECT_FALSE(HasPdfHeader(fs, L"C:\\d"));
}

TEST(DocumentSource, PlainFileNamesStayInTheirDirectory) {
    EXPECT_TRUE(IsPlainFileName(L"manual.pdf"));
    EXPECT_TRUE(IsPlainFileName(L"get.php?id=5"));
    EXPECT_TRUE(IsPlainFileName(L"..pdf"));
    EXPECT_TRUE(IsPlainFileName(L"")) << "the empty name fails later, as it always did";
    EXPECT_FALSE(IsPlainFileName(L"."));
    EXPECT_FALSE(IsPlainFileName(L".."));
    EXPECT_FALSE(IsPlainFileName(L"..\\..\\evil.pdf"));
    EXPECT_FALSE(IsPlainFileName(L"sub\\a.pdf"));
    EXPECT_FALSE(IsPlainFileName(L"a/b.pdf"));
    EXPECT_FALSE(IsPlainFileName(L"C:evil.pdf"));
    EXPECT_FALSE(IsPlainFileName(L"a.pdf:stream"));
}

TEST(DocumentSource, DeviceNamesAreRefusedWithOrWithoutExtension) {
    for (const wchar_t* name :
         {L"CON", L"prn", L"Aux", L"nul", L"NUL.pdf", L"nul.tar.gz", L"com1", L"COM9.pdf", L"lpt1",
          L"LPT9.txt", L"con .pdf", L"conin$", L"CONOUT$.pdf"}) {
        EXPECT_TRUE(IsDeviceName(name)) << name;
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
    for (const wchar_t* name : {L"com0", L"COM10", L"lpt", L"console.pdf", L"nul_report.pdf",
                                L"a.con", L"auxiliary.pdf", L"my nul.pdf", L""}) {
        EXPECT_FALSE(IsDeviceName(name)) << name;
    }
    EXPECT_TRUE(IsPlainFileName(L"console.pdf"));
    EXPECT_TRUE(IsPlainFileName(L"a.con"));
}

TEST(DocumentSource, TheBesideNameKeepsDirectoryAndExtension) {
    EXPECT_EQ(BesideCopyName(L"C:\\TEMP\\a.pdf"), L"C:\\TEMP\\a (2).pdf");
    EXPECT_EQ(BesideCopyName(L"C:\\TEMP\\a.b.xfdf"), L"C:\\TEMP\\a.b (2).xfdf");
    EXPECT_EQ(BesideCopyName(L"C:\\TE.MP\\doc"), L"C:\\TE.MP\\doc (2)");
    EXPECT_EQ(BesideCopyName(L"C:\\TEMP\\.pdf"), L"C:\\TEMP\\.pdf (2)");
}

TEST(DocumentSource, SamePathIgnoresCaseAndSeparatorSpelling) {
    EXPECT_TRUE(SameFilePath(L"C:\\TEMP\\a.pdf", L"c:\\temp\\A.PDF"));
    EXPECT_TRUE(SameFilePath(L"C:\\TEMP/a.pdf", L"C:\\TEMP\\a.pdf"));
    EXPECT_FALSE(SameFilePath(L"C:\\TEMP\\a.pdf", L"C:\\TEMP\\b.pdf"));
    EXPECT_FALSE(SameFilePath(L"C:\\TEMP\\a.pdf", L"C:\\TEMP\\a.pdf2"));
}

} // namespace
} // namespace folivex
