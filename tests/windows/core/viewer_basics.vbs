' Folivex.Viewer from Wine's script host: creation, properties, and automation errors.
' cscript exits 0 even on an uncaught error, so every check is explicit, the exit code says how
' many failed and the last line says whether all passed. Under On Error Resume Next a statement
' that raises is skipped, its check with it: each check first looks for an error left pending.
Option Explicit
Dim failures : failures = 0

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

' The statement before was to raise an automation error with a description.
Sub ExpectError(what)
    If Err.Number = 0 Then
        WScript.Echo "FAIL: no error: " & what
        failures = failures + 1
    ElseIf Len(Err.Description) = 0 Then
        WScript.Echo "FAIL: the error has no description: " & what
        failures = failures + 1
    End If
    Err.Clear
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
ExpectError "read-only hwnd refuses a put"

Set viewer = Nothing
Check True, "release"
If failures = 0 Then WScript.Echo "viewer_basics.vbs: all checks passed"
WScript.Quit failures
