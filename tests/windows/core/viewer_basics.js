// Folivex.Viewer from Wine's script host in JScript: creation, properties, automation errors.
var failures = 0;
function check(condition, what) {
    if (!condition) {
        WScript.Echo("FAIL: " + what);
        failures++;
    }
}

var viewer;
try {
    viewer = new ActiveXObject("Folivex.Viewer");
} catch (e) {
    WScript.Echo("FAIL: new ActiveXObject: " + e.number + " " + e.description);
    WScript.Quit(1);
}
viewer.Path = "http://127.0.0.1/doc.pdf";
check(viewer.Path == "http://127.0.0.1/doc.pdf", "Path round trip");
check(viewer.TempPath == "C:\\TEMP\\", "TempPath default");
check(viewer.ReaderVersion == 0 || viewer.ReaderVersion > 0, "ReaderVersion readable");

var raised = false;
try {
    viewer.hwnd = 5;
} catch (e) {
    raised = true;
    check(e.number != 0, "error number");
    check(typeof e.description == "string", "error description");
}
check(raised, "read-only hwnd refuses a put");
viewer = null;
if (failures == 0) WScript.Echo("viewer_basics.js: all checks passed");
WScript.Quit(failures);
