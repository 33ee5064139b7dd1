HTTP/1.0 200 OK

[PlayList]
Home2=x
NUMBEROFENTRIES=2147483647
file1=a=b
 File1=c
File10=d
[other]
Title2=e
