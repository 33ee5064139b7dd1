[playlist]
numberofentries=3
File1=http://127.0.0.1:8000/
Title1=ƒWƒƒƒY‹Ç
Info1=MP3 128kbps
Home1=http://jazz.example/?a=1
Length1=-1
File2=http://b/list.pls
Title2=B
Info2=
Home2=
Length2=-1
Version=2
