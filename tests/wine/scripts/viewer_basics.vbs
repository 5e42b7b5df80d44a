' Folivex.Viewer from Wine's script host: creation, properties, and automation errors.
' cscript exits 0 even on an uncaught error, so every check is explicit and the exit code
' says how many failed.
Option Explicit
Dim failures : failures = 0

Sub Check(condition, what)
    If Not condition Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

Dim viewer
On Error Resume Next
Set viewer = CreateObject("Folivex.Viewer")
If Err.Number <> 0 Then
    WScript.Echo "FAIL: CreateObject: " & Hex(Err.Number) & " " & Err.Description
    WScript.Quit 1
End If

viewer.Path = "C:\docs\report.pdf"
Check Err.Number = 0, "Path put"
Check viewer.Path = "C:\docs\report.pdf", "Path round trip"
Check viewer.TempPath = "C:\TEMP\", "TempPath default"
viewer.ReaderVersion = 8
Check viewer.ReaderVersion = 8, "ReaderVersion put"
Check viewer.hwnd <> 0, "hwnd"

Err.Clear
viewer.hwnd = 5
Check Err.Number <> 0, "read-only hwnd refuses a put"
Check Len(Err.Description) > 0, "the error has a description"
Err.Clear

Set viewer = Nothing
Check Err.Number = 0, "release"
If failures = 0 Then WScript.Echo "viewer_basics.vbs: all checks passed"
WScript.Quit failures
