' OpenPDF's results as a script host sees them (Wine's cscript delivers no events):
'
'   cscript //nologo open_outcomes.vbs DATA_DIRECTORY
'
' DATA_DIRECTORY holds the test documents; the loopback HTTP server's address comes from the
' process environment (FOLIVEX_TEST_HTTP_URL). cscript exits 0 after an uncaught error too, so
' every check is explicit, the exit code counts the failures and the last line says "done".
Option Explicit
Dim failures : failures = 0

' Under On Error Resume Next a statement that raises is skipped, its check with it: each check
' first looks for an error left pending.
Sub Check(condition, what)
    If Err.Number <> 0 Then
        WScript.Echo "FAIL: error pending at " & what & ": " & Hex(Err.Number) & " " & Err.Description
        failures = failures + 1
        Err.Clear
    ElseIf Not condition Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

If WScript.Arguments.Count < 1 Then
    WScript.Echo "usage: open_outcomes.vbs DATA_DIRECTORY"
    WScript.Quit 2
End If
Dim data : data = WScript.Arguments(0)
If Right(data, 1) <> "\" Then data = data & "\"

Dim shell, http
Set shell = CreateObject("WScript.Shell")
http = shell.Environment("PROCESS")("FOLIVEX_TEST_HTTP_URL")

Dim fso, temp
Set fso = CreateObject("Scripting.FileSystemObject")
' Wine's ExpandEnvironmentStrings keeps the terminating NUL inside the string it returns.
temp = fso.GetSpecialFolder(2).Path & "\folivex_open_outcomes\"
If Not fso.FolderExists(temp) Then fso.CreateFolder temp

Dim viewer
On Error Resume Next
Set viewer = CreateObject("Folivex.Viewer")
If Err.Number <> 0 Then
    WScript.Echo "FAIL: CreateObject: " & Hex(Err.Number) & " " & Err.Description
    WScript.Quit 1
End If
viewer.TempPath = temp
viewer.ReaderVersion = 7 ' the layout whose page box gives PageTotal (FOLIVEX_STANDIN_LAYOUT=old)

Check viewer.OpenPDF(data & "three_pages.pdf") = True, "local open"
Check viewer.PageTotal = 3, "PageTotal of the local document: " & viewer.PageTotal
Check viewer.Path = data & "three_pages.pdf", "Path after the local open"
Check viewer.OpenPDF(data & "not_a_pdf.txt") = False, "not a PDF"
Check viewer.Path = data & "three_pages.pdf", "Path after the refused open"

If http = "" Then
    WScript.Echo "FAIL: FOLIVEX_TEST_HTTP_URL is not set"
    failures = failures + 1
Else
    Check viewer.OpenPDF(http & "five_pages_flate.pdf") = True, "http open"
    Check viewer.PageTotal = 5, "PageTotal of the downloaded document: " & viewer.PageTotal
    Check viewer.Path = http & "five_pages_flate.pdf", "Path holds the address"
    Check fso.FileExists(temp & "five_pages_flate.pdf"), "the downloaded copy"
    Check viewer.OpenPDF(http & "missing.pdf") = False, "404"
    Check Not fso.FileExists(temp & "missing.pdf"), "no file for the 404"
End If
Check True, "no automation error"

Set viewer = Nothing
Check Not fso.FileExists(temp & "five_pages_flate.pdf"), "the copy is deleted at termination"
fso.DeleteFolder Left(temp, Len(temp) - 1), True
If failures = 0 Then WScript.Echo "open_outcomes.vbs: done"
WScript.Quit failures
