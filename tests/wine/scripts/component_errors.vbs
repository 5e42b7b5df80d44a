' The embedded component's errors reach a script unchanged. Run with the stand-in component set
' to fail member 1 (FOLIVEX_STANDIN_FAIL=1).
Option Explicit
Dim failures : failures = 0

Sub Check(condition, what)
    If Not condition Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
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
Check Err.Number = &H80040201, "Source put: number " & Hex(Err.Number)
Check Err.Source = "StandIn", "Source put: source " & Err.Source
Check Err.Description = "Stand-in failure of member 1", "Source put: description " & Err.Description

Err.Clear
value = viewer.Source
Check Err.Number = &H80040201, "Source get: number " & Hex(Err.Number)
Check Err.Description = "Stand-in failure of member 1", "Source get: description"
Err.Clear

Set viewer = Nothing
If failures = 0 Then WScript.Echo "component_errors.vbs: all checks passed"
WScript.Quit failures
