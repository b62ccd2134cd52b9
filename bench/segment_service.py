"""A loopback question service for bench/segment.sh.

Serves one search page for every /search request and a small question page for every /question/N.html.
Writes its port to the file given as the first argument once it listens.

  segment_service.py PORT_FILE highlight   # 1 MB GBK page, 10,000 fragments, 3,000 distinct
  segment_service.py PORT_FILE keywords    # a search page with 200 question links
"""
import http.server
import random
import sys

FRAGMENTS = 10_000
DISTINCT = 3_000
PAGE_BYTES = 1_000_000
LINKS = 200


def gbk_character(rng):
    # The common hanzi block of GB2312, so that every pair is a valid GBK character.
    return bytes([rng.randint(0xB0, 0xD6), rng.randint(0xA1, 0xFE)])


def highlight_page():
    rng = random.Random(936)
    words = set()
    while len(words) < DISTINCT:
        words.add(b"".join(gbk_character(rng) for _ in range(rng.randint(2, 4))))
    words = sorted(words)
    order = words + [rng.choice(words) for _ in range(FRAGMENTS - DISTINCT)]
    rng.shuffle(order)
    # Markup and filler around each fragment bring the page to about PAGE_BYTES.
    filler_characters = max(0, (PAGE_BYTES // FRAGMENTS - 24) // 2)
    half = filler_characters // 2 * 2
    lines = []
    for word in order:
        filler = b"".join(gbk_character(rng) for _ in range(filler_characters))
        lines.append(b"<p>" + filler[:half] + b"<em>" + word + b"</em>" + filler[half:] + b"</p>\n")
    return b"<html><body>\n" + b"".join(lines) + b"</body></html>\n"


def keyword_pages(port):
    links = b"".join(
        b'<dt class="result-title">  <a href="http://127.0.0.1:%d/question/%d.html" \n target="_blank">q</a></dt>\n'
        % (port, i)
        for i in range(LINKS)
    )
    search = b"<html><body>\n" + links + b"</body></html>\n"
    return search


def question_page(number):
    keywords = b"word%d,shared,k%d" % (number, number % 17)
    return (
        b'<html><head><title>q</title> <meta name="keywords" content="' + keywords
        + b'"/><meta name="description" content="d"></head><body>' + b"x" * 20_000 + b"</body></html>"
    )


class Handler(http.server.BaseHTTPRequestHandler):
    search_page = b""

    def do_GET(self):
        if self.path.startswith("/search?"):
            body = Handler.search_page
        elif self.path.startswith("/question/"):
            body = question_page(int(self.path.split("/")[-1].split(".")[0]))
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    port_file, mode = sys.argv[1], sys.argv[2]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    Handler.search_page = highlight_page() if mode == "highlight" else keyword_pages(port)
    with open(port_file, "w") as out:
        out.write(str(port))
    server.serve_forever()


if __name__ == "__main__":
    main()
