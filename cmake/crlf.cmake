# cmake -D in=<file> -D out=<file> -P crlf.cmake: copies a text file with
# Windows line ends.
file(READ ${in} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${out} "${text}")
