// Fetches the loopback servers' routes from a Windows program (msxml's request object, which
// reads through urlmon like the control does) and checks what arrives.
//     cscript //nologo fetch_routes.js
// Needs FOLIVEX_TEST_HTTP_URL and FOLIVEX_TEST_FTP_URL (with_loopback_servers.sh sets them).
// Wine's cscript exits 0 on an uncaught error, so every failure is counted and the count is
// the exit status.
var failures = 0;
var environment = WScript.CreateObject("WScript.Shell").Environment("PROCESS");
var http = environment("FOLIVEX_TEST_HTTP_URL");
var ftp = environment("FOLIVEX_TEST_FTP_URL");

function check(what, condition, detail) {
    WScript.Echo((condition ? "ok: " : "FAIL: ") + what + (detail ? " (" + detail + ")" : ""));
    if (!condition) failures++;
}

function fetch(url) {
    var request = new ActiveXObject("Microsoft.XMLHTTP");
    request.open("GET", url, false);
    request.send();
    return request;
}

function isPdf(text) {
    return text.substr(0, 5) === "%PDF-";
}

function route(name, test) {
    try {
        test(fetch(http + name));
    } catch (e) {
        check(name, false, "error 0x" + (e.number >>> 0).toString(16));
    }
}

check("HTTP address set", /^http:\/\/127\.0\.0\.1:\d+\/$/.test(http), http);
check("FTP address set", /^ftp:\/\/127\.0\.0\.1:\d+\/$/.test(ftp), ftp);

route("three_pages.pdf", function (r) {
    check("plain file: 200", r.status === 200, r.status);
    check("plain file: a PDF", isPdf(r.responseText));
    check("plain file: whole body", r.responseText.length == r.getResponseHeader("Content-Length"),
          r.responseText.length);
});
route("redirect.pdf", function (r) {
    check("redirect followed: 200", r.status === 200, r.status);
    check("redirect followed: a PDF", isPdf(r.responseText));
});
route("missing.pdf", function (r) { check("missing: 404", r.status === 404, r.status); });
route("error.pdf", function (r) { check("error: 500", r.status === 500, r.status); });
route("empty.pdf", function (r) {
    check("empty: 200", r.status === 200, r.status);
    check("empty: no body", r.responseText.length === 0, r.responseText.length);
});
route("slow.pdf", function (r) {
    check("slow: 200", r.status === 200, r.status);
    check("slow: a PDF", isPdf(r.responseText));
});
route("large.pdf?mb=2", function (r) {
    check("large: 200", r.status === 200, r.status);
    check("large: 2 MiB announced", r.getResponseHeader("Content-Length") === "2097152");
    check("large: 2 MiB received", r.responseText.length === 2097152, r.responseText.length);
});

try {
    var r = fetch(ftp + "three_pages.pdf");
    check("ftp file: a PDF", isPdf(r.responseText));
} catch (e) {
    check("ftp file", false, "error 0x" + (e.number >>> 0).toString(16));
}

// Wine's cscript exits 0 after a script error too: this last line is what tells.
if (failures == 0) WScript.Echo("fetch_routes.js: all checks passed");
WScript.Quit(failures);
