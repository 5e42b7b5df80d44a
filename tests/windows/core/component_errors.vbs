' The embedded component's errors reach a script unchanged. Run with the stand-in component set
' to fail member 1 (FOLIVEX_STANDIN_FAIL=1).
Option Explicit
Dim failures : failures = 0

' Under On Error Resume Next a statement that raises is skipped, its check with it: each check
' first looks for an error left pending. The expected errors are taken (and cleared) by TakeError.
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

Dim number, source, description
Sub TakeError()
    number = Err.Number
    source = Err.Source
    description = Err.Description
    Err.Clear
End Sub

Dim viewer, value
On Error Resume Next
Set viewer = CreateObject("Folivex.Viewer")
If Err.Number <> 0 Then
    WScript.Echo "FAIL: CreateObject: " & Hex(Err.Number)
    WScript.Quit 1
End If
Check viewer.IsReaderInstalled = True, "IsReaderInstalled with the component registered"

Err.Clear
viewer.Source = "C:\docs\a.pdf"
TakeError
Check number = &H80040201, "Source put: number " & Hex(number)
Check source = "StandIn", "Source put: source " & source
Check description = "Stand-in failure of member 1", "Source put: description " & description

value = viewer.Source
TakeError
Check number = &H80040201, "Source get: number " & Hex(number)
Check description = "Stand-in failure of member 1", "Source get: description " & description

Set viewer = Nothing
Check True, "release"
If failures = 0 Then WScript.Echo "component_errors.vbs: all checks passed"
WScript.Quit failures
